#pragma once
// Shared procedures that depend on no window: ini access, the clocks and the time texts.
#include <cstdint>
#include <string>

namespace Non_dependant {

// The value of section/key; an empty or missing value gives `default_value`, or "N/A" when that is
// empty too. An empty `path` runs the initialisation first (every caller passes Ini_file_path, which
// it sets); a path still empty shows "Ini_file_path is empty!" and gives "".
std::string Read_Ini(const std::string& section, const std::string& key, const std::string& path,
                     const std::string& default_value);
// 1 when written; otherwise 0, after a critical message that names the path and the error.
int16_t Write_Ini(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path);
void Delete_Ini_Key(const std::string& section, const std::string& key, const std::string& path);

int32_t Get_Mill_Time();
int32_t Get_Local_Mill_Time();

// "[h:]mm:ss,hh" of a millisecond count, hundredths rounded halves to even and carried; untrimmed with
// "-" or one space in front; trimmed without leading "0" and ":" (down to four characters).
std::string Display_Mill_Time(int32_t mill, bool trim);

std::string Now_Text();   // "yyyy-mm-dd hh:nn:ss"
std::string Date_Text();  // "YYYY-MM-DD"
// The executable's modification time as "yyyy-mm-dd hh:nn:ss"; "Not compiled" outside the built program.
std::string FileDate();

}  // namespace Non_dependant
