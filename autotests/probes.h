// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the tests look at inside the screens, one accessor per screen. The
// screens keep their controls, timers and state private; a test that must
// see a control the player cannot read from outside goes through here, so a
// change inside a screen touches its accessor, not every test.

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "screens/tensuushow.h"
#include "screens/Block.h"
#include "screens/LR.h"
#include "screens/frame.h"
#include "screens/frash.h"
#include "screens/panel.h"
#include "screens/picshow.h"
#include "screens/shape.h"
#include "screens/stop.h"
#include "screens/kiroku.h"
#include "screens/progressview.h"
#include "screens/regist.h"
#include "screens/select.h"
#include "screens/usrdelete.h"

template <> struct qx::ScreenProbe<qx::TestScreen> {
    qx::TestScreen& s;
    decltype(auto) backButton() { return s.backButton(); }
    decltype(auto) counterLabel() { return s.counterLabel(); }
    decltype(auto) modeLabel() { return s.modeLabel(); }
    decltype(auto) stagePicture() { return s.stagePicture(); }
    decltype(auto) startButton() { return s.startButton(); }
    int countdownValue() { return s.m_countdown.value(); }
    // One tick of the countdown timer, as its timer would run it.
    void countdownTick() { s.countdownTick(); }
};

// A run that has reached a later stage, as its earlier stages would leave it.
template <> struct qx::ScreenProbe<qx::Session> {
    qx::Session& s;
    auto& run() { return s.m_run; }
};

template <> struct qx::ScreenProbe<TForm1> {
    TForm1& s;
    auto& Image14() { return s.Image14; }
    auto& Image16() { return s.Image16; }
    auto& Image17() { return s.Image17; }
    auto& Image18() { return s.Image18; }
    auto& Image2() { return s.Image2; }
    auto& Image24() { return s.Image24; }
    auto& Image26() { return s.Image26; }
    auto& Image28() { return s.Image28; }
    auto& Image3() { return s.Image3; }
    auto& Image4() { return s.Image4; }
    auto& Image5() { return s.Image5; }
    auto& Image6() { return s.Image6; }
    auto& Image7() { return s.Image7; }
    auto& Label1() { return s.Label1; }
    auto& markers() { return s.markers; }
};

template <> struct qx::ScreenProbe<TForm2> {
    TForm2& s;
    auto& LitSequence() { return s.LitSequence; }
    auto& Panel27() { return s.Panel27; }
    auto& SequenceLength() { return s.SequenceLength; }
    auto& ShadowLabel2() { return s.ShadowLabel2; }
    auto& panels() { return s.panels; }
};

template <> struct qx::ScreenProbe<TForm3> {
    TForm3& s;
    auto& Label2() { return s.Label2; }
    auto& MMTimer1() { return s.MMTimer1; }
    auto& PaintBox1() { return s.PaintBox1; }
    auto& ShownNumber() { return s.ShownNumber; }
    auto& TextX() { return s.TextX; }
    auto& Timer1() { return s.Timer1; }
    decltype(auto) FormCloseQuery() { return s.FormCloseQuery(); }
};

template <> struct qx::ScreenProbe<TForm4> {
    TForm4& s;
    auto& Label1() { return s.Label1; }
    auto& Label2() { return s.Label2; }
    auto& ShownDigits() { return s.ShownDigits; }
    auto& Timer1() { return s.Timer1; }
    auto& Timer2() { return s.Timer2; }
    auto& Timer3() { return s.Timer3; }
};

template <> struct qx::ScreenProbe<TForm5> {
    TForm5& s;
    auto& ClockHundredths() { return s.ClockHundredths; }
    auto& Label2() { return s.Label2; }
    auto& MMTimer1() { return s.MMTimer1; }
    auto& PaintBox1() { return s.PaintBox1; }
    auto& Panel1() { return s.Panel1; }
    auto& Panel2() { return s.Panel2; }
    auto& Panel3() { return s.Panel3; }
    auto& ShadowLabel2() { return s.ShadowLabel2; }
    auto& ShadowLabel4() { return s.ShadowLabel4; }
    auto& ShadowLabel5() { return s.ShadowLabel5; }
    auto& TargetHundredths() { return s.TargetHundredths; }
    auto& Timer1() { return s.Timer1; }
    auto& countdown() { return s.countdown; }
};

template <> struct qx::ScreenProbe<TForm6> {
    TForm6& s;
    auto& Image11() { return s.Image11; }
    auto& Label1() { return s.Label1; }
    auto& Label2() { return s.Label2; }
    auto& Label3() { return s.Label3; }
    auto& Label4() { return s.Label4; }
    auto& Label5() { return s.Label5; }
    auto& Label6() { return s.Label6; }
    auto& Label7() { return s.Label7; }
    auto& ShapeBitmaps() { return s.ShapeBitmaps; }
    auto& ShapeOrder() { return s.ShapeOrder; }
    auto& answerButtons() { return s.answerButtons; }
};

template <> struct qx::ScreenProbe<TForm7> {
    TForm7& s;
    auto& Image4() { return s.Image4; }
    auto& MMTimer1() { return s.MMTimer1; }
    auto& ReactionHundredths() { return s.ReactionHundredths; }
    auto& Timer1() { return s.Timer1; }
    decltype(auto) Timer1Timer() { return s.Timer1Timer(); }
};

template <> struct qx::ScreenProbe<TForm8> {
    TForm8& s;
    auto& BoxCount() { return s.BoxCount; }
    auto& Edit1() { return s.Edit1; }
    auto& boxes() { return s.boxes; }
};

template <> struct qx::ScreenProbe<TForm9> {
    TForm9& s;
    auto& Image14() { return s.Image14; }
    auto& Label1() { return s.Label1; }
    auto& levelButtons() { return s.levelButtons; }
};

template <> struct qx::ScreenProbe<TForm10> {
    TForm10& s;
    auto& Label1() { return s.Label1; }
    auto& Label2() { return s.Label2; }
    auto& ShadowLabel2() { return s.ShadowLabel2; }
    auto& ShadowLabel3() { return s.ShadowLabel3; }
};

template <> struct qx::ScreenProbe<TForm11> {
    TForm11& s;
    auto& Edit1() { return s.Edit1; }
    auto& Image3() { return s.Image3; }
    auto& Image4() { return s.Image4; }
    auto& Image5() { return s.Image5; }
};

template <> struct qx::ScreenProbe<TForm12> {
    TForm12& s;
    auto& Image4() { return s.Image4; }
    auto& Image5() { return s.Image5; }
    auto& ListBox1() { return s.ListBox1; }
};

template <> struct qx::ScreenProbe<TForm13> {
    TForm13& s;
    auto& Grid() { return s.Grid; }
    auto& Image10() { return s.Image10; }
    auto& Image11() { return s.Image11; }
    auto& Image12() { return s.Image12; }
    auto& Image3() { return s.Image3; }
    auto& Image5() { return s.Image5; }
    auto& Image6() { return s.Image6; }
    auto& Image7() { return s.Image7; }
    auto& Image8() { return s.Image8; }
    auto& Image9() { return s.Image9; }
    auto& Panel1() { return s.Panel1; }
    auto& ShadowLabel1() { return s.ShadowLabel1; }
    auto& StringGrid1() { return s.StringGrid1; }
    auto& rankLabels() { return s.rankLabels; }
    auto& chartButton() { return s.chartButton; }
};

template <> struct qx::ScreenProbe<TForm14> {
    TForm14& s;
    auto& Image2() { return s.Image2; }
    auto& Image3() { return s.Image3; }
    auto& ListBox1() { return s.ListBox1; }
};

template <> struct qx::ScreenProbe<TForm15> {
    TForm15& s;
    auto& Image3() { return s.Image3; }
    auto& ShadowLabel1() { return s.ShadowLabel1; }
    auto& ShadowLabel2() { return s.ShadowLabel2; }
    auto& ShadowLabel4() { return s.ShadowLabel4; }
    auto& StringGrid1() { return s.StringGrid1; }
    decltype(auto) Image3Click() { return s.Image3Click(); }
};

template <> struct qx::ScreenProbe<ProgressScreen> {
    ProgressScreen& s;
    auto& m_figures() { return s.m_figures; }
    auto& m_timing() { return s.m_timing; }
    auto& m_damaged() { return s.m_damaged; }
    auto& m_export() { return s.m_export; }
    auto& m_back() { return s.m_back; }
};

namespace qxtest {

template <class S> qx::ScreenProbe<S> probe(S& screen)
{
    return {screen};
}

// The life every test screen shares: mode and counter labels, stage picture,
// start and back buttons.
inline qx::ScreenProbe<qx::TestScreen> frame(qx::TestScreen& screen)
{
    return {screen};
}

} // namespace qxtest

using qxtest::frame;
using qxtest::probe;
