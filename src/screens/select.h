// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// User selection: lists the users of "Rec/" and makes the chosen one current.

#include "screens/screen.h"

#include <QCoreApplication>

class QListWidget;

namespace qx {
// The user list of the selection and deletion screens, named for screen
// readers by the word its screen's instruction calls the users.
QListWidget* makeUserList(QWidget* parent, const QString& name);
// Fills the list anew from "Rec/".
void fillUserList(QListWidget* list, const store::Records& records);
// The selected user's name, however the user was selected (a click, the
// keyboard, a screen reader's selection). Throws the list-index error when
// nothing is selected.
QString selectedUser(const QListWidget* list);
} // namespace qx

class TForm12 final : public qx::Screen {
    Q_DECLARE_TR_FUNCTIONS(TForm12)

public:
    explicit TForm12(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm12>;

    void FormActivate() override;
    void Image5Click();

    QListWidget* ListBox1;
    qx::Image* Image5; // OK
    qx::Image* Image4; // もどる
};
