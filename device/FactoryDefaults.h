// Fixed values of the device family. Any thread.
#pragma once

namespace nvx {

// The panel's master key as it leaves the factory; used when the key field holds no number.
inline constexpr const char* kFactoryMasterKey = "1234";

}  // namespace nvx
