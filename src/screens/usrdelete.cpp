// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/usrdelete.h"

#include "screens/select.h"
#include "rules/users.h"

#include <QListWidget>

using namespace qx;

TForm14::TForm14(Game& game) : Screen(game, tr("ユーザーの削除"))
{
    setDesignPosition(QPoint(211, 149));
    addBackground(art::Scene::Screen);
    addLogo(QRect(0, 0, 265, 49));
    addBanner(tr("ユーザーを削除します\n名前をクリックしてください"), QRect(48, 72, 505, 81));
    ListBox1 = makeUserList(this, tr("名前"));
    Image2 = addButton(QStringLiteral("OK"), QRect(88, 408, 129, 49), [this] { Image2Click(); });
    Image3 = addButton(tr("もどる"), QRect(400, 408, 129, 49), [this] { Close(); });
}

void TForm14::FormActivate()
{
    fillUserList(ListBox1, services().records);
}

void TForm14::Image2Click()
{
    const bool removed = users::deleteUser(services().records, selectedUser(ListBox1));
    services().dialogs.message(removed ? tr("削除しました") : tr("削除できませんでした"));
    fillUserList(ListBox1, services().records);
}
