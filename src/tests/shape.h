#pragma once

#include "tests/frame.h"

class TForm6 final : public qx::TestScreen {
public:
    explicit TForm6(qx::Game& game);
    void startQuestion() override {}
};
