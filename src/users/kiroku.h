#pragma once

#include "app/screen.h"

class TForm13 final : public qx::Screen {
public:
    explicit TForm13(qx::Game& game);
};
