#include "tests/frash.h"

using namespace qx;

TForm4::TForm4(Game& game)
    : TestScreen(game, QStringLiteral("N_メモリ"),
                 {"N_memory", true, {456, 0}, 40, 35, {280, 0, 137, 33}, {192, 416, 193, 49},
                  {464, 424, 129, 49}})
{
}
