#pragma once
// The program's own version and build date, as the title and the about box show them.

inline constexpr const char* kAppVersionText = "1.3";
inline constexpr const char* kBuildDateText = "Jun 26 2012";
