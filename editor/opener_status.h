// The list window's status line apart from the window: which program Windows starts for .eps
// files, whether that is this folder's Varnock, and where [既定のアプリ] takes the user. Windows
// lets no program make itself the default, and another program's installer may take .eps files
// back at any time: the user must see it before a file opens in the wrong version.
#pragma once

#include <string>

#include "file_io.h"

namespace editor {

// Who opens the files that the launcher serves, as the status line tells it.
struct OpenerState {
  enum class Eps { kNone, kVarnock, kOther };
  Eps eps = Eps::kNone;
  std::wstring otherName;  // kOther: its version resource's file description, else its file name
  bool aiByVarnock = false;
  // Windows lists this folder's launcher among its registered applications, so that its page of
  // default applications offers it.
  bool registered = false;

  bool operator==(const OpenerState& other) const {
    return eps == other.eps && otherName == other.otherName && aiByVarnock == other.aiByVarnock &&
           registered == other.registered;
  }
};

// Reads it for the launcher in `folder`: what the shell starts for .eps and .ai files, the other
// program's version resource, and the registered application's entries. It may wait on the disk
// and on a network path: never on a window's thread.
OpenerState ReadOpenerState(const fileio::FilePath& folder);

// The line's text (a second line for .ai files after CR LF) and whether it warns: whenever the
// launcher is not what opens .eps files.
struct StatusLine {
  std::wstring text;
  bool warning = false;
};
StatusLine StatusOf(const OpenerState& state);

// What [既定のアプリ] opens on a Windows of this major version: from Windows 10 on the page of
// default applications in Settings, by its address, which takes the registered application's
// name (Windows 11 then shows the launcher's own page); before, Control Panel's page of the
// registered application's associations, by control.exe's arguments.
struct DefaultAppsPage {
  bool controlPanel = false;
  std::wstring text;  // the address, or control.exe's arguments
};
DefaultAppsPage DefaultAppsFor(unsigned windowsMajor);

}  // namespace editor
