#include "dirapi/plantsource.h"

#include "dirapi/plantlisting.h"
#include "dirapi/problems.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace dirapi {

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file as bytes, or the reason it cannot be read.
std::optional<std::string> readFile(const std::string& path, std::string& error)
{
    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    std::string text;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        text.append(buffer, got);
        if (got < sizeof buffer)
            break;
    }
    if (std::ferror(file.get())) {
        error = errno != 0 ? std::strerror(errno) : "read error";
        return std::nullopt;
    }
    return text;
}

} // namespace

void PlantSource::usePlant(std::unique_ptr<Plant> plant)
{
    m_path.clear();
    m_stamp = {};
    m_plant = std::move(plant);
}

void PlantSource::useFile(std::string path)
{
    m_path = std::move(path);
    m_stamp = currentStamp();
    loadFile();
}

void PlantSource::reloadIfChanged()
{
    if (m_path.empty())
        return;
    const FileStamp stamp = currentStamp();
    if (stamp == m_stamp)
        return;
    m_stamp = stamp;
    loadFile();
}

PlantSource::FileStamp PlantSource::currentStamp() const
{
    std::error_code error;
    FileStamp stamp;
    stamp.modified = std::filesystem::last_write_time(m_path, error);
    if (error)
        return {};
    stamp.size = std::filesystem::file_size(m_path, error);
    if (error)
        return {};
    stamp.exists = true;
    return stamp;
}

void PlantSource::loadFile()
{
    std::string error;
    const auto text = readFile(m_path, error);
    if (!text) {
        reportProblem(m_path + ": cannot read plant listing: " + error);
        m_plant.reset();
        return;
    }
    PlantListing listing = parsePlantListing(*text, m_path);
    for (const auto& problem : listing.problems)
        reportProblem(problem);
    m_plant = std::move(listing.plant);
}

} // namespace dirapi
