#pragma once
// The archive reader of this machine: LZH through liblhasa (every LZH method
// and header level; names taken from the header bytes and decoded as CP932),
// ZIP through libarchive (names in CP932 unless flagged UTF-8).
#include "media/ArchiveReader.h"

namespace zevro {

class ArchiveLibraries final : public ArchiveReader {
public:
  // zone: the list time of a member whose header stores a Unix time.
  // available false: behaves as a machine without archive libraries (every
  // archive stays a plain file), so that case can be tried.
  explicit ArchiveLibraries(ListTime::Zone zone, bool available = true) : zone_(zone), available_(available) {}

  bool available(ArchiveType type) const override;
  ArchiveListing list(const NativePath& archive, ArchiveType type) override;
  ExtractReport ExtractMember(const NativePath& archive, ArchiveType type, TextView member,
                              const NativePath& target) override;
  std::optional<std::string> ReadMember(const NativePath& archive, ArchiveType type, TextView member,
                                        std::size_t maxBytes) override;

  // A DOS date and time as stored: date 0x3263, time 0x5280 -> 2005-03-04 10:20.
  static ListTime dosTime(std::uint16_t date, std::uint16_t time);

private:
  // The index of the member a requested path names, -1 when none.
  int resolve(const NativePath& archive, ArchiveType type, TextView member);

  ListTime::Zone zone_;
  bool available_;
};

}  // namespace zevro
