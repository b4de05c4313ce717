#pragma once
// COM names on Linux: "COMn" is the link COMn in the port map folder when that link exists,
// otherwise /dev/ttyS<n-1>.

#include <string>

namespace serial {

// $XDG_CONFIG_HOME/qvscale/ports, or ~/.config/qvscale/ports.
std::string PortMapDir();

// The device path a COM name stands for. A name that is not "COM<n>" is returned unchanged.
std::string ResolveComName(const std::string& name);

}  // namespace serial
