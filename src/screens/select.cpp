// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/select.h"

#include "platform/dispatch.h"
#include "rules/users.h"

#include <QListWidget>

using namespace qx;

QListWidget* qx::makeUserList(QWidget* parent, const QString& name)
{
    auto* list = new QListWidget(parent);
    list->setAccessibleName(name);
    list->setGeometry(64, 168, 465, 233);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setFont(gameFont(35));
    list->setUniformItemSizes(true);
    list->setStyleSheet(
        QStringLiteral("QListWidget { background: rgb(240, 255, 248); color: teal; }"
                       "QListWidget::item { height: 35px; }"));
    return list;
}

void qx::fillUserList(QListWidget* list, const store::Records& records)
{
    list->clear();
    list->addItems(users::list(records));
}

QString qx::selectedUser(const QListWidget* list)
{
    // A screen reader selects an item without making it the current one.
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty())
        throw Error(TForm12::tr("リストのインデックスが範囲を超えています (%1)").arg(-1));
    return selected.front()->text();
}

TForm12::TForm12(Game& game) : Screen(game, tr("ユーザー選択"))
{
    addBackground(art::Scene::Screen);
    addLogo(QRect(0, 0, 265, 49));
    addBanner(tr("ユーザー選択します\nユーザー名をクリックして下さい"), QRect(48, 72, 505, 81));
    ListBox1 = makeUserList(this, tr("ユーザー名"));
    Image5 = addButton(QStringLiteral("OK"), QRect(64, 416, 137, 49), [this] { Image5Click(); });
    Image4 = addButton(tr("もどる"), QRect(392, 416, 137, 49), [this] { Close(); });
}

void TForm12::FormActivate()
{
    fillUserList(ListBox1, services().records);
}

void TForm12::Image5Click()
{
    session().selectUser(selectedUser(ListBox1));
    Close();
}
