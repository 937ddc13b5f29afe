// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a screen reader gets: every text a player reads, with its words and the
// role of a text; windows as windows named by their captions; entries and
// lists named; and a user chosen through the reader is chosen as by a click.
// (That new texts are told as they appear needs a reader listening, which the
// offscreen platform never has: it is measured through AT-SPI.)

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "art/art.h"
#include "platform/form.h"
#include "testsupport.h"
#include "rules/users.h"
#include "widgets/ShadoLbl.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <functional>
#include <vector>

using namespace qx;

namespace {

// What the player sees written on a control that shows text, or nothing.
QString shownText(const QObject* object)
{
    if (const auto* label = qobject_cast<const TShadowLabel*>(object))
        return label->Caption();
    if (const auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    return {};
}

QString describe(QAccessibleInterface* node)
{
    return QStringLiteral("%1 (role 0x%2, name \"%3\")")
        .arg(QString::fromLatin1(node->object() ? node->object()->metaObject()->className() : "?"))
        .arg(static_cast<int>(node->role()), 0, 16)
        .arg(node->text(QAccessible::Name));
}

// A window read as a screen reader walks it: every name it hears, and every
// shown text, entry or list it would meet without a name.
struct Reading {
    QStringList names;
    QStringList faults;
};

void walk(QAccessibleInterface* node, Reading& reading)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        const QString name = child->text(QAccessible::Name);
        if (!name.isEmpty())
            reading.names.append(name);
        const QString shown = shownText(child->object());
        if (!shown.isEmpty() && (child->role() != QAccessible::StaticText || name != shown))
            reading.faults.append(QStringLiteral("shows \"%1\": ").arg(shown) + describe(child));
        switch (child->role()) {
        case QAccessible::EditableText:
        case QAccessible::List:
        case QAccessible::Button:
            if (name.isEmpty())
                reading.faults.append(QStringLiteral("no name: ") + describe(child));
            break;
        default:
            break;
        }
        walk(child, reading);
    }
}

using Fixture = qxtest::GameFixture;

// A window brought up the way a player brings it up, with what it then shows.
struct Scene {
    const char* name;
    std::function<Form*(Fixture&)> open;
    // Words painted into pictures or put up by the window, each of which a
    // reader must hear as a name or a line of one.
    QStringList words;
};

Form* singlePlay(Fixture& f, Form* screen, const char* testId)
{
    f.openAlone(findTest(QString::fromLatin1(testId))->kind);
    return screen;
}

const std::vector<Scene>& scenes()
{
    static const std::vector<Scene> all = {
        {"main menu",
         [](Fixture& f) -> Form* { return &f.window<TForm1>(); },
         {"個別トレーニング", "ユーザー名：山田"}},
        {"level selection",
         [](Fixture& f) {
             f.game->session.playAlone(TestKind::Stop);
             return &f.window<TForm9>();
         },
         {"ストップ", "レベル1", "レベル10"}},
        {"panel",
         [](Fixture& f) { return singlePlay(f, &f.window<TForm2>(), "panel"); },
         {"赤く光った順にクリックしていって下さい", "レベル1"}},
        {"L-R",
         [](Fixture& f) { return singlePlay(f, &f.window<TForm3>(), "L-R"); },
         {"左から右に移動している数字を当てて下さい"}},
        {"N-memory",
         [](Fixture& f) { return singlePlay(f, &f.window<TForm4>(), "N_memory"); },
         {"でてくる数字を記憶して下さい"}},
        {"stop at rest",
         [](Fixture& f) { return singlePlay(f, &f.window<TForm5>(), "stop"); },
         {"指定された秒になったらENTERを押して止めて下さい", "指定秒数", "3:00", "00:00"}},
        {"stop, stopped",
         [](Fixture& f) {
             Form* screen = singlePlay(f, &f.window<TForm5>(), "stop");
             frame(f.window<TForm5>()).startButton().click();
             f.clock.advance(3050);
             QTest::keyClick(screen, Qt::Key_Return);
             return screen;
         },
         {"03:05", "+00:05"}},
        {"shape",
         [](Fixture& f) { return singlePlay(f, &f.window<TForm6>(), "shape"); },
         {"上の図には無い形を選んで下さい"}},
        {"Reflex",
         [](Fixture& f) { return singlePlay(f, &f.window<TForm7>(), "Reflex"); },
         {"上のボックス内に絵が表示されたらENTERを押してください"}},
        {"box",
         [](Fixture& f) { return singlePlay(f, &f.window<TForm8>(), "box"); },
         {"箱の数を数えてください", "箱の数", "個"}},
        {"overall stage, first question",
         [](Fixture& f) {
             f.enterStage("panel");
             f.window<TForm2>().ShowModal();
             frame(f.window<TForm2>()).startButton().click();
             return &f.window<TForm2>();
         },
         {"総合", "STAGE 1", "1問目"}},
        {"stage dialog",
         [](Fixture& f) {
             singlePlay(f, &f.window<TForm2>(), "panel");
             f.window<TForm10>().setResult(QStringLiteral("不正解"), QStringLiteral("正解：12345"),
                                           QStringLiteral("あなたの答え：12354"));
             f.window<TForm10>().Show(&f.window<TForm2>());
             return &f.window<TForm10>();
         },
         {"不正解", "正解：12345", "あなたの答え：12354", "ENTERを押して下さい"}},
        {"registration",
         [](Fixture& f) {
             f.window<TForm11>().ShowModal();
             return &f.window<TForm11>();
         },
         {art::logoWord(), "ユーザー登録します", "名前を登録して下さい", "名前"}},
        {"user selection",
         [](Fixture& f) {
             f.window<TForm12>().ShowModal();
             return &f.window<TForm12>();
         },
         {"ユーザー選択します", "ユーザー名をクリックして下さい", "ユーザー名", "山田"}},
        {"records",
         [](Fixture& f) {
             f.window<TForm13>().ShowModal();
             return &f.window<TForm13>();
         },
         {"記録"}},
        {"user deletion",
         [](Fixture& f) {
             f.window<TForm14>().ShowModal();
             return &f.window<TForm14>();
         },
         {"ユーザーを削除します", "名前をクリックしてください", "名前", "山田"}},
        {"score",
         [](Fixture& f) {
             f.window<TForm15>().ShowModal();
             return &f.window<TForm15>();
         },
         {"点数：0", "順位"}},
        {"progress",
         [](Fixture& f) {
             f.window<ProgressScreen>().showTest(testDef(TestKind::Panel));
             f.window<ProgressScreen>().ShowModal();
             return &f.window<ProgressScreen>();
         },
         {"パネルの成績"}},
    };
    return all;
}

// The row of a user in a list's reading, found by its words.
QAccessibleInterface* itemNamed(QAccessibleInterface* list, const QString& name)
{
    for (int i = 0; i < list->childCount(); ++i) {
        QAccessibleInterface* item = list->child(i);
        if (item && item->role() == QAccessible::ListItem && item->text(QAccessible::Name) == name)
            return item;
    }
    return nullptr;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyWindowReadsWhatItShows_data();
    void everyWindowReadsWhatItShows();
    void shadowLabelReadsAsItShows_data();
    void shadowLabelReadsAsItShows();
    void choosingAUserThroughTheReaderIsAClick_data();
    void choosingAUserThroughTheReaderIsAClick();
};

void AccessibilityTest::everyWindowReadsWhatItShows_data()
{
    QTest::addColumn<int>("scene");
    for (std::size_t i = 0; i < scenes().size(); ++i)
        QTest::newRow(scenes()[i].name) << static_cast<int>(i);
}

void AccessibilityTest::everyWindowReadsWhatItShows()
{
    QFETCH(int, scene);
    const Scene& s = scenes()[static_cast<std::size_t>(scene)];
    Fixture f;
    f.selectUser(QStringLiteral("山田"));
    Form* window = s.open(f);
    QVERIFY(window->isVisible());
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));

    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(window);
    QVERIFY(reader);
    // The stage dialog, the one window shown as a dialog, is told as one: a
    // reader reads out a dialog's texts when it opens.
    QCOMPARE(reader->role(),
             window->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window);
    QCOMPARE(reader->text(QAccessible::Name), window->windowTitle());

    Reading reading;
    walk(reader, reading);
    QVERIFY2(reading.faults.isEmpty(), qPrintable(reading.faults.join('\n')));
    // A picture of several lines reads them all, a line each.
    const QString heard = reading.names.join('\n');
    const QStringList lines = heard.split('\n');
    for (const QString& word : s.words)
        QVERIFY2(lines.contains(word),
                 qPrintable(word + QStringLiteral(" is not read in:\n") + heard));
}

void AccessibilityTest::shadowLabelReadsAsItShows_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("accelChar");
    QTest::addColumn<QString>("read");
    QTest::newRow("plain") << "不正解" << true << "不正解";
    QTest::newRow("accelerator mark") << "&Start" << true << "Start";
    QTest::newRow("doubled mark shows one") << "A&&B" << true << "A&B";
    QTest::newRow("lone mark at the end") << "A&" << true << "A&";
    QTest::newRow("marks shown as they are") << "A&B" << false << "A&B";
}

void AccessibilityTest::shadowLabelReadsAsItShows()
{
    QFETCH(QString, caption);
    QFETCH(bool, accelChar);
    QFETCH(QString, read);
    QWidget window;
    auto* label = new TShadowLabel(&window);
    label->setShowAccelChar(accelChar);
    label->setCaption(caption);
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(label);
    QCOMPARE(reader->role(), QAccessible::StaticText);
    QCOMPARE(reader->text(QAccessible::Name), read);
}

void AccessibilityTest::choosingAUserThroughTheReaderIsAClick_data()
{
    QTest::addColumn<bool>("deletion");
    QTest::addColumn<bool>("byRow");
    // A reader selects an item by its own action (AT-SPI's Toggle), or by
    // the table's row selection; neither makes the item the current one.
    QTest::newRow("selection, item action") << false << false;
    QTest::newRow("selection, row") << false << true;
    QTest::newRow("deletion, item action") << true << false;
    QTest::newRow("deletion, row") << true << true;
}

void AccessibilityTest::choosingAUserThroughTheReaderIsAClick()
{
    QFETCH(bool, deletion);
    QFETCH(bool, byRow);
    Fixture f;
    users::registerUser(qxtest::records(), QStringLiteral("佐藤"));
    users::registerUser(qxtest::records(), QStringLiteral("山田"));
    Form* screen = deletion ? static_cast<Form*>(&f.window<TForm14>()) : &f.window<TForm12>();
    screen->ShowModal();
    const qxtest::NameList list =
        deletion ? probe(f.window<TForm14>()).users() : probe(f.window<TForm12>()).users();
    const qxtest::Control ok =
        deletion ? probe(f.window<TForm14>()).okButton() : probe(f.window<TForm12>()).okButton();

    QAccessibleInterface* listReader = list.reader();
    QAccessibleInterface* item = itemNamed(listReader, QStringLiteral("山田"));
    QVERIFY(item);
    if (byRow) {
        QVERIFY(listReader->tableInterface());
        QVERIFY(listReader->tableInterface()->selectRow(item->tableCellInterface()->rowIndex()));
    } else {
        QVERIFY(item->actionInterface());
        item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    }
    QVERIFY(item->state().selected);
    ok.reader()->actionInterface()->doAction(QAccessibleActionInterface::pressAction());

    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    if (deletion) {
        QCOMPARE(f.dialogs.messages, QStringList{"削除しました"});
        QVERIFY(!QFileInfo::exists(QStringLiteral("Rec/山田")));
        QVERIFY(QFileInfo::exists(QStringLiteral("Rec/佐藤")));
    } else {
        QCOMPARE(f.window<TForm1>().UserName(), QStringLiteral("山田"));
        QVERIFY(!screen->isVisible());
    }
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
