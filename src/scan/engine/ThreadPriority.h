#pragma once

namespace trawlix {

// Runs the current thread at a scanning priority (-2 lowest .. 15 time critical), mapped to
// a nice value. Best effort: raising the priority usually needs privileges.
void ApplyScanningPriority(int priority);

}  // namespace trawlix
