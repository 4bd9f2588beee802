#pragma once
// The command that lets the logged-in user open the receiver through the udev rule
// 60-corsaro270.rules, fitted to where this program runs from: run from a build tree, the rule is
// copied from the checkout; installed, from where the install put it, unless udev reads it there
// already and only has to apply it.

#include <string>

// The command for a program whose folder is `programFolder` (with a trailing '/'). Without a rule
// beside the program it is the command to run from the root of a checkout.
std::string UdevRuleCommand(const std::string& programFolder);
// The command for this program.
std::string UdevRuleCommand();

// Whether udev reads rules from `folder` (a canonical path with a trailing '/').
bool UdevReadsRulesIn(const std::string& folder);
