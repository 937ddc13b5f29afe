// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/lvmenu.h"

using namespace qx;

namespace {
constexpr QSize kTitleSize(117, 42);
constexpr QSize kLevelButtonSize(217, 49);
} // namespace

TForm9::TForm9(Game& game) : Screen(game, tr("レベル選択"))
{
    addBackground(art::Scene::Screen);
    addLogo(QRect(0, 0, 265, 49));
    Image3 = new Image(this, QRect(64, 56, 145, 49));
    Label1 = addLabel(QPoint(272, 0), 21, true);
    for (int level = 1; level <= 10; ++level) {
        const int column = (level - 1) / 5;
        const int row = (level - 1) % 5;
        const QRect geometry(QPoint(column == 0 ? 64 : 312, 112 + 64 * row), kLevelButtonSize);
        levelButtons[static_cast<std::size_t>(level - 1)] =
            addButton(tr("レベル%1").arg(level), geometry, [this, level] { chooseLevel(level); });
    }
    Image14 = addButton(tr("もどる"), QRect(232, 432, 137, 41), [this] { Close(); });
}

void TForm9::FormActivate()
{
    Image3->clearPicture();
    Label1->setText(tr("ユーザー名：%1").arg(session().user()));
    Label1->adjustSize();
    const TestDef* test = session().test();
    Image3->setAccessibleName(test != nullptr ? test->shownHeading() : QString());
    if (test == nullptr)
        return;
    Image3->setPicture([title = test->shownHeading()] { return art::banner(title, kTitleSize); });
}

void TForm9::FormCloseQuery()
{
    Image3->clearPicture();
}

void TForm9::chooseLevel(int level)
{
    session().chooseLevel(level);
}
