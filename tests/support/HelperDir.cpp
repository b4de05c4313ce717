// Every test program finds the programs that read .xls and write .xlsx in the build tree, as
// an installed program finds them beside it or in its libexec folder.
#include <cstdlib>

namespace {

const int kHelperDirSet = setenv("QVSCALE_HELPER_DIR", QVSCALE_HELPER_DIR, 0);

}  // namespace
