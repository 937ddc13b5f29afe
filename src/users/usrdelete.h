#pragma once

#include "app/screen.h"

class TForm14 final : public qx::Screen {
public:
    explicit TForm14(qx::Game& game);
};
