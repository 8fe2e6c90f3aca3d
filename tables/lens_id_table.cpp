#include "lens_id_table.h"

#include <iterator>

namespace tiffwalker {

namespace {

// A second name under 47 ("Nikkor AF 20-35/2.8 D IF") could never be shown,
// since the first row with a key always wins; it is left out.
// clang-format off
constexpr CodeRow kLensIdRows[] = {
    {"2", "Unknown Nikkor or Sigma non D-type"},
    {"7", "Nikkor AF 28-85/3.5-4.5"},
    {"8", "Nikkor AF 35-105/3.5-4.5"},
    {"9", "Nikkor AF 24/2.8"},
    {"11", "Nikkor AF 180/2.8 IF-ED"},
    {"15", "Nikkor AF 50/1.8"},
    {"16", "Nikkor AF 300/4 IF-ED"},
    {"19", "Nikkor AF 24-50/3.3-4.5"},
    {"20", "Nikkor AF 80-200/2.8 ED"},
    {"27", "Nikkor AF 75-300/4.5-5.6"},
    {"28", "Nikkor AF 20/2.8"},
    {"29", "Nikkor AF 35-70/3.3-4.5 N"},
    {"30", "Nikkor AF 60/2.8 Micro"},
    {"34", "Nikkor AF 70-210/4-5.6 D"},
    {"38", "Unkown Nikkor or Sigma D-type"},
    {"42", "Nikkor AF 28/1.4 D"},
    {"44", "Nikkor AF 105/2 D DC-Nikkor"},
    {"45", "Nikkor AF 200/4 D IF-ED Micro"},
    {"47", "Nikkor AF 28-70/3.5-4.5 D"},
    {"49", "Nikkor AF 60/2.8 D Micro"},
    {"50", "Nikkor AF 105/2.8 D Micro"},
    {"51", "Nikkor AF 18/2.8 D"},
    {"52", "Unknown Nikkor or Tameron"},
    {"54", "Nikkor AF 24/2.8 D"},
    {"55", "Nikkor AF 20/2.8 D"},
    {"56", "Nikkor AF 85/1.8 D"},
    {"59", "Nikkor AF 35-70/2.8 D"},
    {"66", "Nikkor AF 35/2 D"},
    {"67", "Nikkor AF 50/1.4 D"},
    {"69", "Nikkor AF 35-80/4-5.6 D"},
    {"72", "Nikkor AF-S 300/2.8 D IF-ED"},
    {"74", "Nikkor AF 85/1.4 D IF"},
    {"76", "Nikkor AF 24-120/3.5-5.6 D IF"},
    {"77", "Nikkor AF 28-200/3.5-5.6 D IF"},
    {"78", "Nikkor AF 135/2 D DC-Nikkor"},
    {"83", "Nikkor AF 80-200/2.8 D ED N"},
    {"84", "Nikkor AF 70-180/4.5-5.6 D ED Micro"},
    {"86", "Nikkor AF 70-300/4-5.6 D ED"},
    {"93", "Nikkor AF-S 28-70/2.8 D IF-ED"},
    {"94", "Nikkor AF-S 80-200/2.8 D IF-ED"},
    {"99", "Nikkor AF-S 17-35/2.8 D IF-ED"},
    {"101", "Nikkor AF 80-400/4.5-5.6 D ED VR"},
    {"102", "Nikkor AF 18-35/3.5-4.5 D IF-ED"},
    {"103", "Nikkor AF 24-85/2.8-4 D IF"},
    {"104", "Nikkor AF 28-80/3.3-5.6 G"},
    {"105", "Nikkor AF 70-300/4-5.6 G"},
    {"106", "Nikkor AF-S 300/4 D IF-ED"},
    {"109", "Nikkor AF-S 300/2.8 D IF-ED II"},
    {"110", "Nikkor AF-S 400/2.8 D IF-ED II"},
    {"112", "Nikkor AF-S 600/4 D IF-ED"},
    {"114", "Nikkor 45mm F/2.8"},
    {"116", "Nikkor AF-S 24-85/3.5-4.5 G IF-ED"},
    {"118", "Nikkor AF 50/1.8 D"},
    {"119", "Nikkor AF-S 70-200/2.8 G IF-ED VR"},
    {"120", "Nikkor AF-S 24-120/3.5-5.6 G IF-ED VR"},
    {"121", "Nikkor AF 28-200/3.5-5.6 G IF-ED"},
    {"122", "Nikkor AF-S 12-24/4 G IF-ED DX"},
    {"123", "Nikkor AF-S 200-400/4 G IF-ED VR"},
    {"125", "Nikkor AF-S 17-55/2.8 G IF-ED DX"},
    {"127", "Nikkor AF-S 18-70/3.5-4.5 G IF-ED DX"},
    {"128", "Nikkor AF 10.5/2.8 G ED DX Fisheye"},
    {"129", "Nikkor AF-S 200/2 G IF-ED VR"},
    {"130", "Nikkor AF-S 300/2.8 G IF-ED VR"},
    {"137", "Nikkor 55-200mm F/4-5.6G"},
    {"139", "Nikkor 18-200 mm f/3.5-5.6 G-VR"},
    {"140", "Nikkor 18-55mm F/3.5-5.6G"},
    {"Unknown", "Unknown Nikkor or Non-Nikkor Lens"},
};
// clang-format on

static_assert(std::size(kLensIdRows) == 67);

}  // namespace

constinit const CodeTable kLensIdTable{kLensIdRows};

}  // namespace tiffwalker
