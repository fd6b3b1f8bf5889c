#include "dirapi/plantsource.h"

#include "dirapi/plantlisting.h"
#include "dirapi/problems.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace dirapi {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }

private:
    int m_fd;
};

std::string tooLarge(std::uintmax_t size)
{
    return "larger than " + std::to_string(PlantSource::kMaxFileBytes >> 20) + " MiB (" +
           std::to_string(size) + " bytes)";
}

// The whole file as bytes, or why it cannot be read. Opened without waiting (a FIFO without a
// writer would hold the caller for ever), and read only when it is a regular file of bounded
// size (a device such as /dev/zero never ends).
std::optional<std::string> readFile(const std::string& path, std::string& error)
{
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    const Descriptor file(fd);
    struct stat status = {};
    if (::fstat(file.get(), &status) != 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        error = S_ISDIR(status.st_mode) ? "a directory, not a file" : "not a regular file";
        return std::nullopt;
    }
    if (std::uintmax_t(status.st_size) > PlantSource::kMaxFileBytes) {
        error = tooLarge(std::uintmax_t(status.st_size));
        return std::nullopt;
    }

    std::string text;
    text.reserve(std::size_t(status.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = std::strerror(errno);
            return std::nullopt;
        }
        if (got == 0)
            return text;
        // A file that grows while it is read is held to the limit all the same.
        if (text.size() + std::size_t(got) > PlantSource::kMaxFileBytes) {
            error = tooLarge(text.size() + std::size_t(got));
            return std::nullopt;
        }
        text.append(buffer, std::size_t(got));
    }
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
    m_reported.clear();
    m_stamp = currentStamp();
    loadFile();
}

void PlantSource::reloadIfChanged()
{
    if (m_path.empty())
        return;
    const FileStamp stamp = currentStamp();
    if (stamp == m_stamp && m_plant)
        return;
    m_stamp = stamp;
    loadFile();
}

// Looked at without opening it, so a FIFO or a device is never waited on here.
PlantSource::FileStamp PlantSource::currentStamp() const
{
    struct stat status = {};
    if (::stat(m_path.c_str(), &status) != 0)
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.type = unsigned(status.st_mode & S_IFMT);
    stamp.modifiedSeconds = status.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = status.st_mtim.tv_nsec;
    stamp.size = std::uintmax_t(status.st_size);
    return stamp;
}

void PlantSource::loadFile()
{
    std::string error;
    const auto text = readFile(m_path, error);
    if (!text) {
        const std::string problem = m_path + ": cannot read plant listing: " + error;
        if (problem != m_reported)
            reportProblem(problem);
        m_reported = problem;
        m_plant.reset();
        return;
    }
    m_reported.clear();
    PlantListing listing = parsePlantListing(*text, m_path);
    for (const auto& problem : listing.problems)
        reportProblem(problem);
    m_plant = std::move(listing.plant);
}

} // namespace dirapi
