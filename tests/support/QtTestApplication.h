#pragma once

namespace trawlix::testing {

// Makes the test program's QApplication (offscreen) before the first test runs; widget tests
// link this in once.
void EnsureQtApplication();

}  // namespace trawlix::testing
