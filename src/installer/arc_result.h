#pragma once

#include <cstdint>

// Results of reading and unpacking packages (CfsArcList): 0 is success, any other value
// names what stopped the work or went wrong.
namespace vokari {

inline constexpr int32_t kArcOk = 0;
// Two entries with one path (in one archive, or in two archives read into one list).
inline constexpr int32_t kArcDuplicateEntry = 1001;
// extractArchive was given a path that is no entry of the list.
inline constexpr int32_t kArcUnknownEntry = 1002;
// The archive is damaged: its listing broke off.
inline constexpr int32_t kArcDamagedArchive = 1003;
// A file or folder could not be read, written or created.
inline constexpr int32_t kArcIoError = 1004;
// Some entries were not unpacked (failed or refused); see the list's extraction failures.
inline constexpr int32_t kArcEntriesFailed = 1005;
// A destination outside the game folder and the work directory.
inline constexpr int32_t kArcBadDestination = 1006;
// Unpacking was stopped before the end (at the user's request).
inline constexpr int32_t kArcStopped = 1007;
// Any other error.
inline constexpr int32_t kArcOtherError = 1099;

} // namespace vokari
