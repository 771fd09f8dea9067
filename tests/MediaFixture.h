#pragma once
// What the drive and title tests share: a temporary folder holding the
// drives' roots and the program folder, fake drives over it, the real file
// system, a scripted Ui, and the drive type table and title cache.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "core/DriveTypeTable.h"
#include "core/TitleCache.h"
#include "media/DriveInfo.h"
#include "platform/FakeDrives.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro::test {

class MediaFixture : public ::testing::Test, protected TempFolder {
protected:
  MediaFixture() : TempFolder("zevro-media") {}

  // Puts a drive on the letter, its root a fresh folder "drive-X", and gives
  // the letter its type in the table.
  NativePath addDrive(char letter, int type, Text label, std::uint32_t serial = 0, bool hasSerial = false) {
    const NativePath folder = path(std::string("drive-") + letter);
    std::filesystem::create_directories(folder);
    drives.set(letter, {type, folder, std::move(label), serial, hasSerial, DriveSpace{1'000'000, 400'000}, true});
    types.setStored(letter, type);
    return folder;
  }
  // A drive with nothing in it.
  void addEmptyDrive(char letter, int type) {
    FakeDrives::Drive drive;
    drive.type = type;
    drive.hasMedium = false;
    drives.set(letter, drive);
    types.setStored(letter, type);
  }

  FakeDrives drives;
  LinuxFileSystem realFiles;
  FaultyFileSystem files{realFiles};
  FakeUi ui;
  DriveTypeTable types;
  TitleCache titles;
  DriveInfo info{drives, files, types, titles};
};

}  // namespace zevro::test
