#include "app/tensuushow.h"

using namespace qx;

TForm15::TForm15(Game& game) : Screen(game, QStringLiteral("総合点数")) {
    addBackground(art::Scene::Screen);
    addLogo(QRect(0, 0, 265, 49));
    addButton(QStringLiteral("もどる"), QRect(464, 424, 129, 49), [this] { Close(); });
}
