#pragma once

// Whether the checks follow every report: one setting for all windows, off until the person turns
// it on, and kept from one run of the program to the next.

namespace koravin {

bool ChecksFollowReports();
void SetChecksFollowReports(bool on);

}  // namespace koravin
