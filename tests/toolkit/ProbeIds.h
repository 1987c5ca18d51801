// Control IDs of the toolkit's probe program.
#pragma once

namespace probe {
constexpr int kResult = 100, kFail = 101, kModal = 102, kTimer = 103, kLines = 104,
              kItems = 105, kCheck = 106, kCombo = 107, kFolder = 108, kFolderBrowse = 109,
              kGauge = 110, kMenuHello = 120, kModalCancel = 130;
constexpr unsigned kTickTimer = 1;
}  // namespace probe
