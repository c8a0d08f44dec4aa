#pragma once
// The store's AVI readers for the tests and the fuzz targets.
#include "shell/Non_dependant.h"
#include "store/cls_VideoFile_handler.h"

// Open_File opens no AVI file: the store's AVI readers get one handed to them as the store's own opening
// of the older kinds would hand it.
struct Store_file_seam {
    static bool Open_AVI(cls_VideoFile_handler& store, const std::string& path) {
        store.Close_File();
        store.File_name(path);
        return store.Open_Older_File(Non_dependant::File_Suffix(path));
    }
    // A file of any kind: by Open_File, an AVI file as above.
    static bool Open_Any(cls_VideoFile_handler& store, const std::string& path) {
        return Non_dependant::File_Suffix(path) == "avi" ? Open_AVI(store, path) : store.Open_File(path, 0);
    }
};
