#include "winsupport/gwfile.h"

// Being filled in.
bool GwGetOpenFile(QWidget*, const std::vector<GwFilter>&, const std::string&, std::string&,
                   const std::string&) {
    return false;
}
bool GwGetSaveFile(QWidget*, const std::vector<GwFilter>&, const std::string&, std::string&,
                   const std::string&) {
    return false;
}
bool GwBrowse(QWidget*, const std::string&, std::string&) {
    return false;
}
std::vector<std::string> GwEnumFiles(const std::string&, const std::string&) {
    return {};
}
