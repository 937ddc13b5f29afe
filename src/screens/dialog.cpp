// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/dialog.h"

#include "screens/game.h"
#include "screens/frame.h"
#include "rules/catalogue.h"
#include "widgets/ShadoLbl.h"

using namespace qx;

namespace {
constexpr int kScoreLineOffset = 60;

void placeCentred(TShadowLabel* label, int clientWidth, int offset = 0)
{
    label->move(clientWidth / 2 - label->width() / 2 - offset, label->y());
}
} // namespace

TForm10::TForm10(Game& game) : Screen(game, QString())
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    KeyPreview = true;
    addBackground(art::Scene::Dialog);
    addLogo(QRect(0, 0, 265, 49));

    ShadowLabel2 = new TShadowLabel(this);
    styleScreenLabel(ShadowLabel2, 64, Qt::blue);
    ShadowLabel2->move(0, 80);
    ShadowLabel3 = new TShadowLabel(this);
    styleScreenLabel(ShadowLabel3, 44, QColor(148, 191, 243));
    ShadowLabel3->move(0, 152);
    Label1 = addLabel(QPoint(147, 264), 32, true);
    Label2 = addLabel(QPoint(24, 312), 32, true);
    ShadowLabel1 = new TShadowLabel(this);
    styleScreenLabel(ShadowLabel1, 24, Qt::blue, 1);
    ShadowLabel1->move(179, 384);
    ShadowLabel1->setCaption(tr("ENTERを押して下さい"));
}

void TForm10::setResult(const QString& verdict, const QString& line1, const QString& line2)
{
    ShadowLabel2->setCaption(verdict);
    placeCentred(ShadowLabel2, width());
    Label1->setText(line1);
    Label1->adjustSize();
    Label2->setText(line2);
    Label2->adjustSize();
}

void TForm10::FormActivate()
{
    if (!session().overall())
        return;
    ShadowLabel3->setCaption(tr("点数：%1").arg(session().run().score()));
    placeCentred(ShadowLabel3, width(), kScoreLineOffset);
}

void TForm10::FormKeyPress(QChar& key)
{
    if (key != QChar(13))
        return;
    Close();
    key = QChar(0);
}

void TForm10::FormCloseQuery()
{
    ShadowLabel2->setCaption(QString());
    Label1->clear();
    Label2->clear();
    ShadowLabel3->setCaption(QString());
    hide();
    session().verdictDismissed();
}
