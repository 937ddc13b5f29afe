#include "tests/shape.h"

using namespace qx;

TForm6::TForm6(Game& game)
    : TestScreen(game, QStringLiteral("シャープ"),
                 {"shape", false, {456, 0}, 40, 35, {280, 0, 137, 33}, {192, 416, 193, 49},
                  {464, 424, 129, 49}})
{
}
