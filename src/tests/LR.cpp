#include "tests/LR.h"

using namespace qx;

TForm3::TForm3(Game& game)
    : TestScreen(game, QStringLiteral("Ｌ→Ｒ"),
                 {"L-R", true, {456, 0}, 40, 35, {280, 0, 137, 33}, {192, 416, 193, 49},
                  {464, 424, 129, 49}})
{
}
