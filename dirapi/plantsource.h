// Where the listed plant comes from: a fixed plant, or a listing file read again after it
// changed.
#ifndef ARBOLIX_DIRAPI_PLANTSOURCE_H
#define ARBOLIX_DIRAPI_PLANTSOURCE_H

#include "dirapi/plant.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace dirapi {

class PlantSource
{
public:
    void usePlant(std::unique_ptr<Plant> plant);

    // Reads the listing file now; its problems, or that it cannot be read, go to standard
    // error.
    void useFile(std::string path);

    // Reads the listing file again if its modification time or size changed since it was last
    // looked at. Does nothing for a fixed plant.
    void reloadIfChanged();

    // Null while the listing file cannot be read: there is no directory at all.
    const Plant* plant() const { return m_plant.get(); }

private:
    struct FileStamp
    {
        bool exists = false;
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;

        bool operator==(const FileStamp&) const = default;
    };

    FileStamp currentStamp() const;
    void loadFile();

    std::unique_ptr<Plant> m_plant;
    std::string m_path; // empty for a fixed plant
    FileStamp m_stamp;
};

} // namespace dirapi

#endif
