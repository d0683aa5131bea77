// How the list editor's handlers end when something fails in them: the failure goes to the error
// report through the window's host, and only that handler ends; the window goes on.
#pragma once

#include "error.h"

namespace editor {

template <typename Host, typename Step>
void RunReported(Host& host, Step step) {
  try {
    step();
  } catch (...) {
    host.ShowError(err::CurrentErrorNumber());
  }
}

}  // namespace editor
