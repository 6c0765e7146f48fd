#include "scan/engine/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace trawlix {

void ApplyScanningPriority(int priority) {
  int nice = 0;
  switch (priority) {
    case -2:
      nice = 10;
      break;
    case -1:
      nice = 5;
      break;
    case 1:
      nice = -5;
      break;
    case 2:
      nice = -10;
      break;
    case 15:
      nice = -20;
      break;
    default:
      return;  // normal: keep the process's own
  }
  const auto tid = static_cast<id_t>(syscall(SYS_gettid));
  (void)setpriority(PRIO_PROCESS, tid, nice);  // refused without privileges: stay normal
}

}  // namespace trawlix
