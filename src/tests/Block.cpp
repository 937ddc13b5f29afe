#include "tests/Block.h"

using namespace qx;

TForm8::TForm8(Game& game)
    : TestScreen(game, QStringLiteral("ボックス"),
                 {"box", false, {456, 0}, 40, 35, {280, 0, 137, 33}, {192, 416, 193, 49},
                  {464, 424, 129, 49}})
{
}
