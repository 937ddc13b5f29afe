#include "users/usrdelete.h"

using namespace qx;

TForm14::TForm14(Game& game) : Screen(game, QStringLiteral("ユーザーの削除"))
{
    addBackground(art::Scene::Screen);
    addLogo(QRect(0, 0, 265, 49));
    addButton(QStringLiteral("もどる"), QRect(464, 424, 129, 49), [this] { Close(); });
}
