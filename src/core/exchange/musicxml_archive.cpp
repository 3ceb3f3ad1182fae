#include "exchange/musicxml_archive.h"

#include <zip.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "exchange/xml_tree.h"

namespace sorvel::exchange {
namespace {

constexpr const char* kContainer = "META-INF/container.xml";
constexpr std::size_t kMaxContainerBytes = 64 * 1024;
constexpr std::string_view kMimeType = "application/vnd.recordare.musicxml";
constexpr std::string_view kRootType = "application/vnd.recordare.musicxml+xml";
// Every entry gets this time, so one score always gives the same bytes.
constexpr time_t kEntryTime = 946684800;  // 2000-01-01

struct Closer {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using Archive = std::unique_ptr<zip_t, Closer>;

std::string megabytes(std::size_t bytes) {
    return std::to_string(bytes / (1024 * 1024)) + " MB";
}

// The archive opened for reading, or why not.
Result<Archive> openArchive(std::string_view bytes) {
    if (bytes.size() > kMaxMusicXmlBytes) {
        return Result<Archive>::failure("The file is too large to be a melody (more than " +
                                        megabytes(kMaxMusicXmlBytes) + ").");
    }
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* z = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    if (z == nullptr) {
        const std::string why = zip_error_strerror(&error);
        if (source != nullptr) zip_source_free(source);
        zip_error_fini(&error);
        return Result<Archive>::failure(
            "The compressed MusicXML file is not a readable zip "
            "archive (" +
            why + ").");
    }
    zip_error_fini(&error);
    Archive archive(z);
    if (zip_get_num_entries(z, 0) > static_cast<zip_int64_t>(kMaxArchiveEntries)) {
        return Result<Archive>::failure("The compressed MusicXML file holds more than " +
                                        std::to_string(kMaxArchiveEntries) + " files.");
    }
    return archive;
}

// One entry unpacked, refused as soon as it would grow beyond limit bytes.
Result<std::string> readEntry(zip_t* z, std::string_view name, std::size_t limit) {
    using R = Result<std::string>;
    const std::string n(name);
    const zip_int64_t index = zip_name_locate(z, n.c_str(), 0);
    if (index < 0) return R::failure("The compressed MusicXML file has no " + n + ".");
    const auto at = static_cast<zip_uint64_t>(index);
    const std::string bomb = "The compressed MusicXML file unpacks " + n + " to more than " +
                             megabytes(kMaxMusicXmlBytes) + " (a zip bomb); it is refused.";
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(z, at, 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) != 0 && st.size > limit) {
        return R::failure(limit == kMaxMusicXmlBytes ? bomb : n + " is too large.");
    }
    zip_file_t* file = zip_fopen_index(z, at, 0);
    if (file == nullptr) {
        return R::failure("The compressed MusicXML file cannot unpack " + n + " (" +
                          zip_strerror(z) + ").");
    }
    std::string out;
    std::vector<char> chunk(64 * 1024);
    std::string failure;
    for (;;) {
        const zip_int64_t got = zip_fread(file, chunk.data(), chunk.size());
        if (got < 0) {
            failure = "The compressed MusicXML file is damaged (" +
                      std::string(zip_file_strerror(file)) + ").";
            break;
        }
        if (got == 0) break;
        if (out.size() + static_cast<std::size_t>(got) > limit) {
            failure = limit == kMaxMusicXmlBytes ? bomb : n + " is too large.";
            break;
        }
        out.append(chunk.data(), static_cast<std::size_t>(got));
    }
    zip_fclose(file);
    if (!failure.empty()) return R::failure(failure);
    return out;
}

// The root file container.xml names: the first whose media type is MusicXML's or not given.
Result<std::string> rootFilePath(std::string_view container) {
    using R = Result<std::string>;
    const XmlTree tree = parseXmlTree(container);
    if (tree.root == nullptr) {
        return R::failure("The compressed MusicXML file's " + std::string(kContainer) +
                          " cannot be read (" + tree.error + ").");
    }
    if (const XmlNode* files = tree.root->child("rootfiles")) {
        for (const auto& f : files->children) {
            if (f->name != "rootfile") continue;
            const std::string_view type = trimmed(f->attr("media-type"));
            std::string_view path = trimmed(f->attr("full-path"));
            if (path.empty() || !(type.empty() || type == kRootType)) continue;
            while (path.substr(0, 2) == "./") path.remove_prefix(2);
            while (path.substr(0, 1) == "/") path.remove_prefix(1);
            return std::string(path);
        }
    }
    return R::failure("The compressed MusicXML file's " + std::string(kContainer) +
                      " names no MusicXML score.");
}

}  // namespace

bool isZipArchive(std::string_view bytes) {
    return bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4) ||
           bytes.substr(0, 4) == std::string_view("PK\x05\x06", 4);
}

bool isMusicXmlArchive(std::string_view bytes) {
    if (!isZipArchive(bytes)) return false;
    const Result<Archive> archive = openArchive(bytes);
    return archive && zip_name_locate(archive.value().get(), kContainer, 0) >= 0;
}

Result<std::string> readMusicXmlArchive(std::string_view bytes) {
    Result<Archive> archive = openArchive(bytes);
    if (!archive) return Result<std::string>::failure(archive.reason());
    zip_t* z = archive.value().get();
    const Result<std::string> container = readEntry(z, kContainer, kMaxContainerBytes);
    if (!container) return container;
    const Result<std::string> path = rootFilePath(container.value());
    if (!path) return path;
    return readEntry(z, path.value(), kMaxMusicXmlBytes);
}

Result<std::string> writeMusicXmlArchive(std::string_view musicXml) {
    const std::string container =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<container><rootfiles><rootfile full-path=\"score.musicxml\" media-type=\"" +
        std::string(kRootType) + "\"/></rootfiles></container>\n";
    return writeZipArchive(
        {{"mimetype", kMimeType}, {kContainer, container}, {"score.musicxml", musicXml}});
}

Result<std::string> writeZipArchive(const std::vector<ZipEntry>& entries) {
    using R = Result<std::string>;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (out == nullptr) return R::failure("Out of memory while compressing the score.");
    zip_source_keep(out);
    std::string failure;
    if (zip_t* z = zip_open_from_source(out, ZIP_CREATE | ZIP_TRUNCATE, &error)) {
        for (const ZipEntry& e : entries) {
            zip_source_t* s = zip_source_buffer(z, e.content.data(), e.content.size(), 0);
            const zip_int64_t index = s ? zip_file_add(z, e.name.c_str(), s, ZIP_FL_ENC_UTF_8) : -1;
            if (index < 0) {
                if (s != nullptr) zip_source_free(s);
                failure = zip_strerror(z);
                break;
            }
            const auto at = static_cast<zip_uint64_t>(index);
            zip_set_file_compression(z, at, at == 0 ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
            zip_file_set_mtime(z, at, kEntryTime, 0);
        }
        if (failure.empty() && zip_close(z) != 0) failure = zip_strerror(z);
        if (!failure.empty()) zip_discard(z);
    } else {
        failure = zip_error_strerror(&error);
        zip_source_free(out);  // the reference the archive would have taken
    }
    zip_error_fini(&error);
    std::string bytes;
    if (failure.empty() && zip_source_open(out) == 0) {
        zip_source_seek(out, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(out);
        zip_source_seek(out, 0, SEEK_SET);
        bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
        if (size <= 0 || zip_source_read(out, bytes.data(), bytes.size()) != size) {
            failure = "the archive could not be read back";
        }
        zip_source_close(out);
    } else if (failure.empty()) {
        failure = "the archive could not be read back";
    }
    zip_source_free(out);
    if (!failure.empty()) return R::failure("The score could not be compressed: " + failure + ".");
    return bytes;
}

}  // namespace sorvel::exchange
