#pragma once

#include "app/screen.h"

class TForm15 final : public qx::Screen {
public:
    explicit TForm15(qx::Game& game);
};
