#pragma once

#include "tests/frame.h"

class TForm3 final : public qx::TestScreen {
public:
    explicit TForm3(qx::Game& game);
    void startQuestion() override {}
};
