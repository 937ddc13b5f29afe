#include "tests/stop.h"

using namespace qx;

TForm5::TForm5(Game& game)
    : TestScreen(game, QStringLiteral("ストップ"),
                 {"stop", true, {456, 0}, 40, 35, {280, 0, 137, 33}, {192, 416, 193, 49},
                  {464, 424, 129, 49}})
{
}
