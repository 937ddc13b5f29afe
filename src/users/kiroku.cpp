#include "users/kiroku.h"

using namespace qx;

TForm13::TForm13(Game& game) : Screen(game, QStringLiteral("記録"))
{
    addBackground(art::Scene::Screen);
    addLogo(QRect(0, 0, 265, 49));
    addButton(QStringLiteral("もどる"), QRect(464, 424, 129, 49), [this] { Close(); });
}
