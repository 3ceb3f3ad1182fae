#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/result.h"

namespace sorvel::exchange {

// A compressed MusicXML file (.mxl) is a zip archive; more files than this are refused.
inline constexpr std::size_t kMaxArchiveEntries = 1000;

// True when the bytes begin as a zip archive does.
bool isZipArchive(std::string_view bytes);

// True when the bytes are a zip archive with the container file of compressed MusicXML.
bool isMusicXmlArchive(std::string_view bytes);

// The score of a compressed MusicXML file: the root file META-INF/container.xml names. The
// archive, its entry count and everything unpacked stay within the limits of plain MusicXML;
// an entry that unpacks to more (a zip bomb) is refused without unpacking it further.
Result<std::string> readMusicXmlArchive(std::string_view bytes);

// A compressed MusicXML file holding the document: mimetype, container and score.musicxml.
Result<std::string> writeMusicXmlArchive(std::string_view musicXml);

// A zip archive of the entries (name, content) in order, the first stored and the others
// deflated, every entry dated 2000-01-01 so that the same entries give the same bytes.
struct ZipEntry {
    std::string name;
    std::string_view content;
};
Result<std::string> writeZipArchive(const std::vector<ZipEntry>& entries);

}  // namespace sorvel::exchange
