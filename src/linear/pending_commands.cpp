// Commands not built yet. Each is removed from here when its own file defines it.

#include "linear/linear_commands.h"

namespace koravin {


}  // namespace koravin
