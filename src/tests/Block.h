#pragma once

#include "tests/frame.h"

class TForm8 final : public qx::TestScreen {
public:
    explicit TForm8(qx::Game& game);
    void startQuestion() override {}
};
