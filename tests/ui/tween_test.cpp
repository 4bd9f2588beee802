#include "ui/tween.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
struct CurvePoints {
  int index;
  double at[5];  // values at t = 0, 0.25, 0.5, 0.75 and 1
};

// Worked out from the curve formulas one by one, independently of the code.
const CurvePoints kCurves[kTweenCurveCount] = {
    {0,
     {0, -0.064136562500000008, -0.087697500000000039, 0.18259031249999991, 0.99999999999999978}},
    {1, {2.2204460492503131e-16, 0.81740968750000009, 1.0876975, 1.0641365625000001, 1}},
    {2, {0, -0.099681843749999999, 0.5, 1.0996818412144482, 1}},
    {3, {0, 0.02734375, 0.234375, 0.52734375, 1}},
    {4, {0, 0.47265625, 0.765625, 0.97265625, 1}},
    {5, {0, 0.1171875, 0.5, 0.8828125, 1}},
    {6, {0, 0.031754163448145745, 0.1339745962155614, 0.33856217223385232, 1}},
    {7, {0, 0.66143782776614768, 0.8660254037844386, 0.96824583655185426, 1}},
    {8, {0, 0.066987298107780702, 0.5, 0.9330127018922193, 1}},
    {9, {0, 0.015625, 0.125, 0.421875, 1}},
    {10, {0, 0.578125, 0.875, 0.984375, 1}},
    {11, {0, 0.0625, 0.5, 0.9375, 1}},
    {12, {0, -0.0055242717280199029, -0.015625000000000045, 0.088388347648318447, 1}},
    {13, {0, 0.91161165235168151, 1.015625, 1.0055242717280199, 1}},
    {14, {0, 0.011969444423734025, 0.5, 0.98803055557626596, 1}},
    {15, {0, 0.0055242717280199029, 0.03125, 0.17677669529663689, 1}},
    {16, {0, 0.82322330470336313, 0.96875, 0.99447572827198005, 1}},
    {17, {0, 0.015625, 0.5, 0.984375, 1}},
    {18, {0, 0.25, 0.5, 0.75, 1}},
    {19, {0, 0.25, 0.5, 0.75, 1}},
    {20, {0, 0.25, 0.5, 0.75, 1}},
    {21, {0, 0.0625, 0.25, 0.5625, 1}},
    {22, {0, 0.4375, 0.75, 0.9375, 1}},
    {23, {0, 0.125, 0.5, 0.875, 1}},
    {24, {0, 0.015625, 0.125, 0.421875, 1}},
    {25, {0, 0.68359375, 0.9375, 0.99609375, 1}},
    {26, {0, 0.03125, 0.5, 0.96875, 1}},
    {27, {0, 0.0009765625, 0.03125, 0.2373046875, 1}},
    {28, {0, 0.7626953125, 0.96875, 0.9990234375, 1}},
    {29, {0, 0.015625, 0.5, 0.984375, 1}},
    {30, {0, 0.076120467488713262, 0.29289321881345243, 0.61731656763491016, 0.99999999999999989}},
    {31, {0, 0.38268343236508978, 0.70710678118654746, 0.92387953251128674, 1}},
    {32, {0, 0.14644660940672621, 0.49999999999999994, 0.85355339059327373, 1}},
};

TEST(TweenCurves, EveryCurveAtFivePoints) {
  const double ts[5] = {0, 0.25, 0.5, 0.75, 1};
  for (const CurvePoints& curve : kCurves) {
    for (int i = 0; i < 5; ++i) {
      EXPECT_NEAR(TweenCurve(curve.index, ts[i]), curve.at[i], 1e-12)
          << "curve " << curve.index << " at t = " << ts[i];
    }
  }
}

TEST(TweenCurves, EndsAreExactWhereTheyMatter) {
  // The out-exponential and the elastic curves special-case their ends.
  EXPECT_EQ(TweenCurve(16, 1.0), 1.0);
  EXPECT_EQ(TweenCurve(15, 0.0), 0.0);
  EXPECT_EQ(TweenCurve(13, 1.0), 1.0);
  EXPECT_EQ(TweenCurve(14, 0.0), 0.0);
  // An unknown curve eases linearly.
  EXPECT_DOUBLE_EQ(TweenCurve(33, 0.3), 0.3);
  EXPECT_DOUBLE_EQ(TweenCurve(-1, 0.3), 0.3);
}

TEST(Tween, ExponentialOutOverThirtySteps) {
  Tween tween;
  tween.Start(TWEEN_EXPONENTIAL, TWEEN_OUT, 30, 0, 135, 0, 0);
  EXPECT_EQ(tween.curve, 16);
  EXPECT_FALSE(tween.Done());
  for (int n = 1; n <= 29; ++n) {
    const double expected = 135 * (1 - std::pow(2.0, -10.0 * n / 30));
    EXPECT_NEAR(tween.Next(), expected, 1e-9) << "step " << n;
    EXPECT_FALSE(tween.Done());
  }
  EXPECT_EQ(tween.Next(), 135.0);
  EXPECT_TRUE(tween.Done());
  EXPECT_EQ(tween.Next(), 135.0);
  EXPECT_EQ(tween.Next(), 135.0);
}

TEST(Tween, FirstValueIsStepOne) {
  Tween tween;
  tween.Start(TWEEN_EXPONENTIAL, TWEEN_OUT, 30, 0, 135, 0, 0);
  EXPECT_NEAR(tween.Next(), 27.85042899214653, 1e-9);
}

TEST(Tween, FadeOutWithBounce) {
  Tween tween;
  tween.Start(TWEEN_BOUNCE, TWEEN_OUT, 2, 1, 0, 0, 0);
  EXPECT_EQ(tween.curve, 4);
  EXPECT_DOUBLE_EQ(tween.Next(), 1 - 0.765625);
  EXPECT_DOUBLE_EQ(tween.Next(), 0);
  EXPECT_TRUE(tween.Done());
}

TEST(Tween, DelayHoldsTheStartValue) {
  Tween tween;
  tween.Start(TWEEN_LINEAR, TWEEN_IN, 4, 10, 20, 0, 2);
  EXPECT_EQ(tween.Next(), 10);
  EXPECT_EQ(tween.Next(), 10);
  EXPECT_EQ(tween.step, 0);
  EXPECT_EQ(tween.Next(), 12.5);
}

TEST(Tween, ClampKeepsOvershootInRange) {
  Tween tween;
  tween.Start(TWEEN_BACK, TWEEN_OUT, 2, 100, 0, 1, 0);
  EXPECT_EQ(tween.Next(), 0);  // the back curve would overshoot to -8.77
  tween.Start(TWEEN_BACK, TWEEN_OUT, 2, 100, 0, 0, 0);
  EXPECT_NEAR(tween.Next(), -8.76975, 1e-9);
}

TEST(Tween, NoStepsIsDoneAtTheEndValue) {
  Tween tween;
  tween.Start(TWEEN_SINE, TWEEN_IN_OUT, 0, 3, 7, 0, 0);
  EXPECT_TRUE(tween.Done());
  EXPECT_DOUBLE_EQ(tween.Next(), 7);
  tween.Start(TWEEN_SINE, 5, 2, 3, 7, 0, 0);  // curve 35 does not exist: linear
  EXPECT_DOUBLE_EQ(tween.Next(), 5);
}
}  // namespace
