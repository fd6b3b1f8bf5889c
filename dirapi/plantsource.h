// Where the listed plant comes from: a fixed plant, or a listing file read again after it
// changed.
#ifndef ARBOLIX_DIRAPI_PLANTSOURCE_H
#define ARBOLIX_DIRAPI_PLANTSOURCE_H

#include "dirapi/plant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace dirapi {

class PlantSource
{
public:
    void usePlant(std::unique_ptr<Plant> plant);

    // Reads the listing file now; its problems, or that it cannot be read, go to standard
    // error. Only a regular file of at most kMaxFileBytes is read, and opening it never waits:
    // anything else (a FIFO, a directory, a device) cannot be read, as a missing file cannot.
    void useFile(std::string path);

    // Reads the listing file again if its type, modification time or size changed since it was
    // last looked at, or if it could not be read then. That it cannot be read is reported once,
    // until the reason changes. Does nothing for a fixed plant.
    void reloadIfChanged();

    static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t(256) << 20;

    // Null while the listing file cannot be read: there is no directory at all.
    const Plant* plant() const { return m_plant.get(); }

private:
    struct FileStamp
    {
        bool exists = false;
        unsigned type = 0; // the file type bits of its mode
        std::int64_t modifiedSeconds = 0;
        std::int64_t modifiedNanoseconds = 0;
        std::uintmax_t size = 0;

        bool operator==(const FileStamp&) const = default;
    };

    FileStamp currentStamp() const;
    void loadFile();

    std::unique_ptr<Plant> m_plant;
    std::string m_path; // empty for a fixed plant
    FileStamp m_stamp;
    std::string m_reported; // why the file could not be read, as last reported
};

} // namespace dirapi

#endif
