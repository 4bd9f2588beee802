#include "ui/tween.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = 1.5707963267948966;
constexpr int kLinearCurve = TWEEN_LINEAR * 3 + TWEEN_IN;

// Back: overshoot 1.70158, and 2.5949095 for in-out, whose second half uses the unrounded value.
constexpr double kBack = 1.70158;
constexpr double kBackPlusOne = 2.70158;
constexpr double kBackInOut = 2.5949095;
constexpr double kBackInOutPlusOne = 3.5949095;
constexpr double kBackInOutTail = 2.5949094594311717;
constexpr double kBackInOutTailPlusOne = 3.5949094594311717;

// Elastic: period 0.3 with phase 0.075, both 1.5 times longer for in-out.
constexpr double kElasticPeriod = 0.3;
constexpr double kElasticPhase = 0.075;
constexpr double kElasticInOutPeriod = kElasticPeriod * 1.5;
constexpr double kElasticInOutPhase = kElasticPhase * 1.5;

double Bounce(double t) {
  constexpr double k = 7.5625;
  if (t < 0.36363636363636365) return k * t * t;
  if (t < 0.7272727272727273) {
    const double u = t - 0.5454545454545454;
    return k * u * u + 0.75;
  }
  if (t < 0.9090909090909091) {
    const double u = t - 0.8181818181818182;
    return k * u * u + 0.9375;
  }
  const double u = t - 0.9545454545454546;
  return k * u * u + 0.984375;
}

bool IsEnd(double t) {
  return t == 0 || t == 1;
}

double BackIn(double t) {
  return t * t * (kBackPlusOne * t - kBack);
}
double BackOut(double t) {
  const double u = t - 1;
  return u * u * (kBackPlusOne * u + kBack) + 1;
}
double BackInOut(double t) {
  const double u = 2 * t;
  if (u < 1) return 0.5 * u * u * (kBackInOutPlusOne * u - kBackInOut);
  const double v = u - 2;
  return 0.5 * (v * v * (kBackInOutTailPlusOne * v + kBackInOutTail) + 2);
}

double BounceIn(double t) {
  return 1 - Bounce(1 - t);
}
double BounceOut(double t) {
  return Bounce(t);
}
double BounceInOut(double t) {
  const double u = 2 * t;
  if (u < 1) return 0.5 * (1 - Bounce(1 - u));
  return 0.5 * Bounce(u - 1) + 0.5;
}

double CircularIn(double t) {
  return 1 - std::sqrt(1 - t * t);
}
double CircularOut(double t) {
  return std::sqrt(1 - (t - 1) * (t - 1));
}
double CircularInOut(double t) {
  const double u = 2 * t;
  if (u < 1) return -0.5 * (std::sqrt(1 - u * u) - 1);
  return 0.5 * (std::sqrt(1 - (u - 2) * (u - 2)) + 1);
}

double CubicIn(double t) {
  return t * t * t;
}
double CubicOut(double t) {
  return std::pow(t - 1, 3) + 1;
}
double CubicInOut(double t) {
  if (t < 0.5) return 4 * t * t * t;
  return 4 * std::pow(t - 1, 3) + 1;
}

double ElasticIn(double t) {
  if (IsEnd(t)) return t;
  return -std::pow(2, 10 * (t - 1)) * std::sin((t - 1 - kElasticPhase) * kTwoPi / kElasticPeriod);
}
double ElasticOut(double t) {
  if (IsEnd(t)) return t;
  return std::pow(2, -10 * t) * std::sin((t - kElasticPhase) * kTwoPi / kElasticPeriod) + 1;
}
double ElasticInOut(double t) {
  if (IsEnd(t)) return t;
  const double u = 2 * t - 1;
  const double s = std::sin((u - kElasticInOutPhase) * kTwoPi / kElasticInOutPeriod);
  if (u < 0) return -0.5 * std::pow(2, 10 * u) * s;
  return 0.5 * std::pow(2, -10 * u) * s + 1;
}

double ExponentialIn(double t) {
  return t == 0 ? 0 : std::pow(2, 10 * (t - 1));
}
double ExponentialOut(double t) {
  return t == 1 ? 1 : 1 - std::pow(2, -10 * t);
}
double ExponentialInOut(double t) {
  if (IsEnd(t)) return t;
  const double u = 2 * t - 1;
  if (u < 0) return 0.5 * std::pow(2, 10 * u);
  return 1 - 0.5 * std::pow(2, -10 * u);
}

double Linear(double t) {
  return t;
}

double QuadraticIn(double t) {
  return t * t;
}
double QuadraticOut(double t) {
  return -t * (t - 2);
}
double QuadraticInOut(double t) {
  if (t < 0.5) return 2 * t * t;
  return -2 * t * (t - 2) - 1;
}

// The quartic "in" curve is the cubic one; kept so that existing animations keep their look.
double QuarticIn(double t) {
  return t * t * t;
}
double QuarticOut(double t) {
  return 1 - std::pow(t - 1, 4);
}
double QuarticInOut(double t) {
  if (t < 0.5) return 8 * std::pow(t, 4);
  return 1 - 8 * std::pow(t - 1, 4);
}

double QuinticIn(double t) {
  return std::pow(t, 5);
}
double QuinticOut(double t) {
  return std::pow(t - 1, 5) + 1;
}
double QuinticInOut(double t) {
  if (t < 0.5) return 16 * std::pow(t, 5);
  return 16 * std::pow(t - 1, 5) + 1;
}

double SineIn(double t) {
  return 1 - std::cos(t * kHalfPi);
}
double SineOut(double t) {
  return std::sin(t * kHalfPi);
}
double SineInOut(double t) {
  return -0.5 * (std::cos(kPi * t) - 1);
}

using Curve = double (*)(double);

// Indexed by variant + 3 x family.
constexpr Curve kCurves[kTweenCurveCount] = {
    BackIn,        BackOut,        BackInOut,         //
    BounceIn,      BounceOut,      BounceInOut,       //
    CircularIn,    CircularOut,    CircularInOut,     //
    CubicIn,       CubicOut,       CubicInOut,        //
    ElasticIn,     ElasticOut,     ElasticInOut,      //
    ExponentialIn, ExponentialOut, ExponentialInOut,  //
    Linear,        Linear,         Linear,            //
    QuadraticIn,   QuadraticOut,   QuadraticInOut,    //
    QuarticIn,     QuarticOut,     QuarticInOut,      //
    QuinticIn,     QuinticOut,     QuinticInOut,      //
    SineIn,        SineOut,        SineInOut,
};
}  // namespace

double TweenCurve(int index, double t) {
  if (index < 0 || index >= kTweenCurveCount) index = kLinearCurve;
  return kCurves[index](t);
}

void Tween::Start(int family, int variant, int stepCount, double start, double end, int clampFlag,
                  int delayFrames) {
  const long long number = variant + 3LL * family;
  curve = number >= 0 && number < kTweenCurveCount ? static_cast<int>(number) : kLinearCurve;
  steps = stepCount;
  clamp = clampFlag;
  delay = delayFrames;
  from = start;
  delta = end - start;
  step = 0;
}

double Tween::Next() {
  if (delay > 0) {
    --delay;
    return from;
  }
  if (step < steps) ++step;
  // A tween of no steps is at its end at once rather than dividing by zero.
  const double t = steps > 0 ? static_cast<double>(step) / steps : 1.0;
  double value = TweenCurve(curve, t) * delta + from;
  if (clamp) value = std::clamp(value, std::min(from, from + delta), std::max(from, from + delta));
  return value;
}
