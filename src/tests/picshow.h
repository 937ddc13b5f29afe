#pragma once

#include "tests/frame.h"

class TForm7 final : public qx::TestScreen {
public:
    explicit TForm7(qx::Game& game);
    void startQuestion() override {}
};
