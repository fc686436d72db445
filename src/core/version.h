// The program's version and the commit it was built from, as --version prints them.
#pragma once

// "1.0.0 (commit 3d5e7bf4a1c2)": the project's version (CMakeLists.txt) and the checked-out
// commit, with ", modified" after it when the build had uncommitted changes. The build generates
// the definition (cmake/version.cmake) into the demo_version library.
const char* VersionText();
