// The converter window's shadow: all defaults, hooking first of the window's
// components, the strips beside the window once it is shown and active.
#include "effects/FxFormShadow.h"

#include "tests/framework/controls/FrameworkTestSupport.h"

#include "window/Hagri1.h"

#include <gtest/gtest.h>

TEST(ConverterShadow, ASixPixelShadowInButtonShadowBesideTheActiveWindow)
{
    Application->CreateForm(&Form1);
    ASSERT_NE(Form1, nullptr);
    TFxFormShadow* shadow = Form1->FxFormShadow1;
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->Shadow()->Style(), hssSolid);
    EXPECT_EQ(shadow->Shadow()->Color(), clBtnShadow);
    EXPECT_EQ(shadow->Shadow()->Depth(), 6);
    EXPECT_TRUE(shadow->ShowInActive());
    EXPECT_TRUE(shadow->Hooked());

    ASSERT_TRUE(ShowActive(Form1));
    Pump();
    TRect window;
    GetWindowRect(Form1->Handle(), window);
    TRect right;
    TRect bottom;
    GetWindowRect(shadow->RightShadow(), right);
    GetWindowRect(shadow->BottomShadow(), bottom);
    EXPECT_EQ(right, Rect(window.Right, window.Top + 6, window.Right + 6, window.Bottom));
    EXPECT_EQ(bottom, Rect(window.Left + 6, window.Bottom, window.Right + 6, window.Bottom + 6));
    EXPECT_TRUE(IsWindowVisible(shadow->RightShadow()));
    EXPECT_TRUE(IsWindowVisible(shadow->BottomShadow()));
    EXPECT_EQ(GetActiveWindow(), Form1->Handle());
    Application->DestroyForms();
    EXPECT_EQ(Form1, nullptr);
}
