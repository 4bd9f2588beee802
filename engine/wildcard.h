#pragma once
// Whether a file name matches a wildcard pattern of '*' and '?', without regard to case, as the
// system's own file searches match.
bool WildcardMatches(const char* pattern, const char* name);
