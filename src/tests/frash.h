#pragma once

#include "tests/frame.h"

class TForm4 final : public qx::TestScreen {
public:
    explicit TForm4(qx::Game& game);
    void startQuestion() override {}
};
