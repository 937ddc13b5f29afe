#include "tests/picshow.h"

using namespace qx;

TForm7::TForm7(Game& game)
    : TestScreen(game, QStringLiteral("Reflexes"),
                 {"Reflex", false, {456, 0}, 40, 35, {280, 0, 137, 33}, {192, 416, 193, 49},
                  {464, 424, 129, 49}})
{
}
