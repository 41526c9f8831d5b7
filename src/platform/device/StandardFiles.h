#pragma once
// The files the platform itself puts on a new device (the alarm sound the reminder plays).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace device {

// Writes each standard file that is missing below the device's file-system root.
bool writeStandardFiles(const std::filesystem::path& fileSystemRoot, std::string* error);

// "\Windows\Alarm2.wav": a two-tone chime, 16-bit mono PCM, synthesised here.
std::vector<std::uint8_t> synthesiseAlarmSound();

} // namespace device
