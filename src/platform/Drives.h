#pragma once
// Drive letters A to Z as the catalogs know them, over the Linux mount table.
// C: is "/"; mounted media get letters from D: on (kept across runs in a map
// file of the program folder); the user may map any folder to a letter.
// Drive types use the classic numbering that CATTYP.DAT stores.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

namespace drivetype {
inline constexpr int Unknown = 0;
inline constexpr int NoRoot = 1;
inline constexpr int Removable = 2;
inline constexpr int Fixed = 3;
inline constexpr int Network = 4;
inline constexpr int CdRom = 5;
inline constexpr int RamDisk = 6;
inline constexpr int Changing = 18;  // seen as fixed once and as absent at another start
}  // namespace drivetype

struct VolumeInfo {
  Text label;                // the volume label, like u"MYDISC"; empty when none
  std::uint32_t serial = 0;  // like 0xABCD1234
  bool hasSerial = false;
};

struct DriveSpace {
  std::uint64_t total = 0;
  std::uint64_t free = 0;
};

class Drives {
public:
  virtual ~Drives() = default;

  // letter: 'A'..'Z' (either case accepted). The type codes above.
  virtual int driveType(char letter) = 0;
  // The folder the letter stands for, like "/media/kaori/MYDISC"; nullopt
  // when the letter is not mapped or its medium is absent.
  virtual std::optional<NativePath> root(char letter) = 0;
  // Label and serial of the medium in the drive; nullopt when no medium.
  virtual std::optional<VolumeInfo> volume(char letter) = 0;
  virtual std::optional<DriveSpace> space(char letter) = 0;

  // Looks at the machine again (media inserted or removed since the last
  // look). Drives that always answer from the present state need nothing.
  virtual void refresh() {}

  // The error of writing what the drives keep across runs (the letter map
  // file) at the last look; the letters hold for this run anyway.
  virtual IoError stateError() const { return {}; }
};

}  // namespace zevro
