#pragma once

#include "tests/frame.h"

class TForm5 final : public qx::TestScreen {
public:
    explicit TForm5(qx::Game& game);
    void startQuestion() override {}
};
