#pragma once
// COM names on Linux: "COMn" is the link COMn in the port map folder when that link exists,
// otherwise /dev/ttyS<n-1>.

#include <optional>
#include <string>

namespace serial {

// $XDG_CONFIG_HOME/qvscale, or ~/.config/qvscale: the program's settings, the window's and the
// command line's alike.
std::string ConfigDir();
// ConfigDir()/ports.
std::string PortMapDir();

// The n of "COM<n>": upper case COM, then digits alone (COM02 is 2); nothing for any other name
// and for COM0.
std::optional<int> ComNumber(const std::string& name);

// The device path a COM name stands for. A name that is not "COM<n>" is returned unchanged.
std::string ResolveComName(const std::string& name);

// The device a COM name stands for, as a person knows it: the link's target with every link
// followed (/dev/ttyUSB0), or where the link points when nothing is there. Anything else as
// ResolveComName gives it.
std::string DeviceOfComName(const std::string& name);

// Makes the link `name` in the port map folder lead to target, replacing an earlier link in
// one step, so no program ever finds the name missing. False, with why, when it cannot, or when
// the name is taken by something that is not a link.
bool LinkComName(const std::string& name, const std::string& target, std::string& problem);
// Removes the link; true when it is gone or was never there.
bool UnlinkComName(const std::string& name, std::string& problem);

}  // namespace serial
