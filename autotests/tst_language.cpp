// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The interface's language: which one a desktop gets, and that installing one
// turns the game's texts and Qt's own buttons together.

#include "platform/language.h"
#include "rules/catalogue.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

using namespace qx;

class LanguageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void desktopPicksLanguage_data();
    void desktopPicksLanguage();
    void gameAndQtSpeakTogether_data();
    void gameAndQtSpeakTogether();
    void cleanupTestCase() { installLanguage(QStringLiteral("ja")); }
};

void LanguageTest::desktopPicksLanguage_data()
{
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<QString>("language");
    // As QLocale::uiLanguages() lists them for LANG, LC_ALL or LANGUAGE.
    QTest::newRow("C") << QStringList{"C"} << "ja";
    QTest::newRow("POSIX") << QStringList{"POSIX"} << "ja";
    QTest::newRow("ja_JP") << QStringList{"ja-JP", "ja-Jpan-JP", "ja"} << "ja";
    QTest::newRow("en_US") << QStringList{"en-US", "en-Latn-US", "en"} << "en";
    QTest::newRow("en_GB") << QStringList{"en-GB", "en"} << "en";
    QTest::newRow("de_DE, none shipped") << QStringList{"de-DE", "de-Latn-DE", "de"} << "en";
    QTest::newRow("LANGUAGE=fr:ja") << QStringList{"fr", "fr-FR", "ja", "ja-JP"} << "ja";
    QTest::newRow("LANGUAGE=en_US, LANG=C") << QStringList{"en-US", "en"} << "en";
    QTest::newRow("underscore") << QStringList{"ja_JP"} << "ja";
}

void LanguageTest::desktopPicksLanguage()
{
    QFETCH(QStringList, wanted);
    QFETCH(QString, language);
    QCOMPARE(interfaceLanguage(wanted, shippedLanguages()), language);
}

void LanguageTest::gameAndQtSpeakTogether_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("ja") << "ja"
                        << "ストップ"
                        << "キャンセル";
    QTest::newRow("en") << "en"
                        << "Stop"
                        << "Cancel";
    // Back from English: nothing of the language before stays.
    QTest::newRow("ja again") << "ja"
                              << "ストップ"
                              << "キャンセル";
}

void LanguageTest::gameAndQtSpeakTogether()
{
    QFETCH(QString, language);
    QFETCH(QString, title);
    QFETCH(QString, cancel);
    QVERIFY(shippedLanguages().contains(language));
    QVERIFY(installLanguage(language));
    QCOMPARE(testDef(TestKind::Stop).shownTitle(), title);
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), cancel);
    // What files hold never changes with the language.
    QCOMPARE(testDef(TestKind::Stop).fieldNames().join(u','),
             QStringLiteral("日付,レベル,秒,ストップ,差"));
}

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
