// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/mainform.h"

using namespace qx;

TForm1::TForm1(Game& game) : Screen(game, tr("Quiravex　Ver%1").arg(QStringLiteral(QX_VERSION)))
{
    Image* background = addBackground(art::Scene::Menu);
    background->setMouseTracking(true);
    background->OnMouseMove = [this] { Image1MouseMove(); };

    // Decorations, and the markers, have no behaviour, but they are not the
    // background either: the pointer over them leaves the markers as they are.
    addBanner(tr("個別トレーニング"), QRect(64, 208, 241, 41));
    auto* rainbow = new Image(this, QRect(452, 52, 140, 78));
    rainbow->setPicture([size = rainbow->size()] { return art::rainbow(size); });
    auto* star = new Image(this, QRect(404, 96, 56, 56));
    star->setPicture([size = star->size()] { return art::star(size); });

    struct Button {
        qx::Image** field;
        const char* label;
        QRect geometry;
        bool enabled;
        QPoint marker;
        std::function<void()> action;
    };
    const Button buttons[] = {
        {&Image24,
         QT_TR_NOOP("総合トレーニング"),
         {56, 128, 297, 41},
         false,
         {28, 134},
         [this] {
             PlayClick();
             session().playOverall();
         }},
        {&Image7,
         QT_TR_NOOP("パネル"),
         {80, 264, 115, 41},
         false,
         {52, 273},
         [this] { singlePlay(TestKind::Panel); }},
        {&Image3,
         QT_TR_NOOP("L→R"),
         {256, 264, 113, 41},
         false,
         {228, 273},
         [this] { singlePlay(TestKind::LR); }},
        {&Image4,
         QT_TR_NOOP("N_メモリ"),
         {432, 264, 113, 41},
         false,
         {404, 273},
         [this] { singlePlay(TestKind::NMemory); }},
        {&Image5,
         QT_TR_NOOP("ストップ"),
         {76, 328, 113, 41},
         false,
         {52, 337},
         [this] { singlePlay(TestKind::Stop); }},
        {&Image17,
         QT_TR_NOOP("Reflexes"),
         {258, 328, 121, 41},
         false,
         {228, 337},
         [this] { singlePlay(TestKind::Reflex); }},
        {&Image18,
         QT_TR_NOOP("BOX"),
         {429, 328, 121, 41},
         false,
         {404, 337},
         [this] { singlePlay(TestKind::Box); }},
        {&Image16,
         QT_TR_NOOP("シャープ"),
         {80, 392, 121, 41},
         false,
         {52, 401},
         [this] { singlePlay(TestKind::Shape); }},
        {&Image14,
         QT_TR_NOOP("登録"),
         {24, 0, 113, 41},
         true,
         {0, 8},
         [this] {
             PlayClick();
             this->game().open(Game::Window::Registration);
         }},
        {&Image6,
         QT_TR_NOOP("選択"),
         {176, 0, 113, 41},
         true,
         {152, 8},
         [this] {
             PlayClick();
             this->game().open(Game::Window::Selection);
         }},
        {&Image26,
         QT_TR_NOOP("記録"),
         {328, 0, 113, 41},
         false,
         {303, 8},
         [this] {
             PlayClick();
             this->game().open(Game::Window::Records);
         }},
        {&Image28,
         QT_TR_NOOP("削除"),
         {480, 0, 113, 41},
         true,
         {456, 8},
         [this] {
             PlayClick();
             this->game().open(Game::Window::Deletion);
         }},
    };
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        const Button& b = buttons[i];
        auto* marker = new Image(this, QRect(b.marker, QSize(25, 28)));
        marker->setPicture(art::marker);
        marker->hide();
        markers[i] = marker;
        Image* button = addButton(tr(b.label), b.geometry, b.action);
        button->setEnabled(b.enabled);
        button->OnMouseMove = [marker] { marker->show(); };
        *b.field = button;
    }
    Image2 = addButton(tr("おわる"), QRect(448, 416, 137, 49), [this] { Close(); });

    Label1 = addLabel(QPoint(56, 80), 21, true);
    // Empty until a user is chosen, and sized then: measuring it now would
    // wake the font machinery before the first frame, which needs no text.
    Label1->resize(0, 0);
}

void TForm1::Image1MouseMove()
{
    for (Image* marker : markers)
        marker->hide();
}

QString TForm1::CurrentTest() const
{
    return session().test() != nullptr ? session().test()->id() : QString();
}

void TForm1::showUser(const QString& name)
{
    Label1->setText(tr("ユーザー名：%1").arg(name));
    Label1->adjustSize();
    for (Image* button :
         {Image26, Image24, Image7, Image3, Image4, Image5, Image17, Image18, Image16})
        button->setEnabled(true);
}

void TForm1::singlePlay(TestKind kind)
{
    PlayClick();
    session().playAlone(kind);
}
