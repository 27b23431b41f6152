// Fixed texts of the window that more than one of its parts shows.
#pragma once

inline constexpr const char* kMainCaption = "Plasmora Beta v6.0";
inline constexpr const char* kPreferencesMissing =
    "Please reinstaller Plasmora. Failed to load preference in directory.";
