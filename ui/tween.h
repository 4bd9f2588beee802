#pragma once
// Tween: one value per frame from a start value to an end value along one of 33 easing curves.
// Curves are numbered variant + 3 x family, variants 0 in, 1 out, 2 in-out.

#include <cstdint>

// Easing families, in the order of the curve table.
enum TweenFamily : int {
  TWEEN_BACK = 0,
  TWEEN_BOUNCE = 1,
  TWEEN_CIRCULAR = 2,
  TWEEN_CUBIC = 3,
  TWEEN_ELASTIC = 4,
  TWEEN_EXPONENTIAL = 5,
  TWEEN_LINEAR = 6,
  TWEEN_QUADRATIC = 7,
  TWEEN_QUARTIC = 8,
  TWEEN_QUINTIC = 9,
  TWEEN_SINE = 10
};

enum TweenVariant : int { TWEEN_IN = 0, TWEEN_OUT = 1, TWEEN_IN_OUT = 2 };

constexpr int kTweenCurveCount = 33;

// The value of curve `index` (0 to 32) at t from 0 to 1; an unknown index eases linearly.
double TweenCurve(int index, double t);

class Tween {
 public:
  // Starts from `from` towards `to` over `steps` calls of Next after `delay` calls that return
  // `from`. With clamp set no value leaves the range between from and to (the back and elastic
  // curves overshoot otherwise). A curve number outside the table eases linearly.
  void Start(int family, int variant, int steps, double from, double to, int clamp, int delay);
  // The next value: `from` while the delay lasts, then the curve at step / steps, the first call
  // giving step 1; after the last step it stays at the end value.
  double Next();
  // Whether every step has been taken (at once for a tween of no steps).
  bool Done() const { return step >= steps; }

  std::int32_t curve = 0;
  std::int32_t steps = 0;
  std::int32_t step = 0;
  std::int32_t clamp = 0;
  std::int32_t delay = 0;
  double from = 0;
  double delta = 0;  // to - from
};
