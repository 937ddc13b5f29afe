// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/regist.h"

#include "rules/store.h"
#include "rules/users.h"

#include <QLineEdit>

using namespace qx;

TForm11::TForm11(Game& game) : Screen(game, tr("登録"))
{
    addBackground(art::Scene::Screen);
    addLogo(QRect(0, 0, 265, 49));
    const QString instruction = tr("ユーザー登録します\n名前を登録して下さい");
    const QString caption = tr("名前");
    Image3 = new Image(this, QRect(72, 48, 377, 201));
    Image3->setPicture([instruction, caption, size = Image3->size()] {
        return art::fieldBanner(instruction, caption, size);
    });
    // The caption is the entry's own name; the picture reads the instruction.
    Image3->setAccessibleName(instruction);

    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(72, 256, 377, 56);
    Edit1->setFont(gameFont(48, true));
    Edit1->setStyleSheet(QStringLiteral("QLineEdit { background: rgb(230, 255, 230); }"));
    Edit1->setAttribute(Qt::WA_InputMethodEnabled);
    Edit1->setAccessibleName(caption);

    Image5 = addButton(tr("登録"), QRect(64, 376, 153, 41), [this] { Image5Click(); });
    Image4 = addButton(tr("もどる"), QRect(376, 376, 137, 41), [this] { Close(); });
    setFocusProxy(Edit1);
}

void TForm11::Image5Click()
{
    if (users::registerUser(services().records, store::typedLine(Edit1->text())) ==
        users::Registration::Refused) {
        services().dialogs.message(tr("登録できません"));
        return;
    }
    Edit1->clear();
    services().dialogs.message(tr("登録しました"));
}

void TForm11::FormCloseQuery()
{
    Edit1->clear();
}
