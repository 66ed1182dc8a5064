#pragma once
// Project and profile files and the DVD dialog: Open Project, Save Project,
// Save Profile As, Load Profile and Open DVD. They come with the project
// files, profile files and DVD parts; until then the commands do nothing.

namespace pelorine {

class FilesController {
public:
    void openProject() {}
    void saveProject() {}
    void saveProfileAs() {}
    void loadProfile() {}
    void openDvd() {}
};

}  // namespace pelorine
