#include "media/ExtensionGroups.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "core/Strings.h"

namespace zevro {

namespace {

constexpr TextView GroupTable =
    u"00.DOC|01.DOT|08.RTF|09.WRI|10.TXT|13.LOG|13.1ST|13.ME|20.HTM|20.HTML|21.MHT|21.MHTM|22.SHTM|"
    u"24.URL|25.CSS|26.JS|26.JSP|26.PL|26.CGI|29.SWF|30.PDF|30.PDX|38.CHM|38.HLP|"
    u"40.XLS|40.SLK|40.XLA|40.XLB|40.XLC|44.SLK|45.CSV|45.DIF|"
    u"50.JPG|50.JPEG|50.JPN|50.JFIF|50.JPE|51.GIF|51.GIN|52.BMP|52.PNG|53.TIF|53.TIFF|54.MPO|"
    u"55.DIB|55.EMF|55.PIC|55.WMF|55.XBM|56.PCD|59.ICO|"
    u"60.MID|60.MMF|61.CDA|62.WAV|63.MP3|64.WMA|65.MP4|65.MPA|65.OMA|65.OML2|65.OMS2|"
    u"66.AIF|66.AIFC|66.AIFF|66.ASF|66.ASX|67.AU|67.SND|68.3GP|68.AA3|"
    u"69.RA|69.RAM|69.RM|69.RMM|69.RMS|69.RMX|70.AVI|70.AVN|71.MPG|71.MPN|72.WMV|73.RV|"
    u"76.M1V|76.M2V|76.MP2|76.MP2V|76.MPE|76.MPV2|77.QT|77.MOD|77.MOV|78.VOB|80.MDA|80.MDB|"
    u"82.BAS|82.CLS|82.FRM|82.VBP|82.VBG|84.SRC|84.A86|84.A85|84.ASC|84.A80|85.INC|"
    u"86.SYM|86.REL|86.LNK|86.MAP|86.LST|86.PRN|86.HEX|87.C|88.H|89.MAK|89.OBJ|"
    u"90.FON|90.TTC|90.TTF|93.ANI|93.CUR|94.INI|94.REG|95.CFG|95.DIR|95.CNT|"
    u"96.INF|96.OCA|96.OCX|96.SYS|96.VXD|96.DLL|96.BIN|96.LIB|97.LZH|97.ZIP|97.CAB|98.EXE|98.BAT|";

// Extension -> group, first entry winning, built from the table once.
class GroupIndex {
public:
  GroupIndex() {
    std::size_t at = 0;
    while (at < GroupTable.size()) {
      const std::size_t end = GroupTable.find(u'|', at);
      const TextView entry = GroupTable.substr(at, end - at);  // "40.SLK"
      map_.try_emplace(Text(entry.substr(3)), entry.substr(0, 2));
      at = end + 1;
    }
  }
  TextView find(const Text& upperExtension) const {
    const auto it = map_.find(upperExtension);
    return it == map_.end() ? ExtensionGroups::Unlisted : it->second;
  }

private:
  std::unordered_map<Text, TextView> map_;
};

}  // namespace

TextView ExtensionGroups::table() { return GroupTable; }

TextView ExtensionGroups::groupOf(TextView extension) {
  static const GroupIndex index;
  if (extension.empty()) return Unlisted;
  return index.find(asciiUpper(extension));
}

}  // namespace zevro
