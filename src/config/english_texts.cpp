#include "config/builtin_texts.h"

namespace zelvano {

// Entry N of the English language table, shipped as English.txt. Empty entries are reserved, as in
// the built-in table: they keep the positions of the entries after them.
const std::array<const char16_t*, kLanguageEntryCount> kEnglishTexts = {
    u"latitude",                                                                                                 // 0
    u"longitude",                                                                                                // 1
    u"Zoom",                                                                                                     // 2
    u"Show",                                                                                                     // 3
    u"Save",                                                                                                     // 4
    u"Delete",                                                                                                   // 5
    u"Zoom",                                                                                                     // 6
    u"jpeg compression",                                                                                         // 7
    u"Run",                                                                                                      // 8
    u"Get missing tiles",                                                                                        // 9
    u"Search",                                                                                                   // 10
    u"Measure distances (use ALT)",                                                                              // 11
    u"Selection",                                                                                                // 12
    u"Settings",                                                                                                 // 13
    u"Error initializing GDIPLUS.DLL. If you are running win98, add the file GdiPlus.Dll to the program folder", // 14
    u"Error",                                                                                                    // 15
    u"Cache only",                                                                                               // 16
    u"Internet only",                                                                                            // 17
    u"Cache and internet",                                                                                       // 18
    u"---New Name---",                                                                                           // 19
    u"incomplete file found, deleted",                                                                           // 20
    u"bad file found, deleted",                                                                                  // 21
    u"Satellite image not in cache",                                                                             // 22
    u"waiting for download...",                                                                                  // 23
    u"download error",                                                                                           // 24
    u"Mb from the internet",                                                                                     // 25
    u"disk write error",                                                                                         // 26
    u"incomplete file, not saved",                                                                               // 27
    u"file smaller than 4 bytes",                                                                                // 28
    u"damaged file, deleted",                                                                                    // 29
    u"incomplete file, not saved",                                                                               // 30
    u"file smaller than 4 bytes",                                                                                // 31
    u"bad file found, deleted",                                                                                  // 32
    u"Map not in cache",                                                                                         // 33
    u"Map layers can only be used after the cache has been converted to the new format. See Settings",           // 34
    u"Cannot write the file ZLV.ini",                                                                            // 35
    u"Cannot save",                                                                                              // 36
    u"Zoom",                                                                                                     // 37
    u"Errors",                                                                                                   // 38
    u"Cannot write the file Favorites.dat",                                                                      // 39
    u"",                                                                                                         // 40
    u"",                                                                                                         // 41
    u"Selected",                                                                                                 // 42
    u"px, in memory",                                                                                            // 43
    u"mb, download~",                                                                                            // 44
    u"Selected",                                                                                                 // 45
    u"pixels",                                                                                                   // 46
    u"",                                                                                                         // 47
    u"Stop command received at",                                                                                 // 48
    u"Delayed until",                                                                                            // 49
    u"please wait, processed",                                                                                   // 50
    u"of ",                                                                                                      // 51
    u"tiles ",                                                                                                   // 52
    u"all downloaded, finishing",                                                                                // 53
    u"Canceled ",                                                                                                // 54
    u"Download command received",                                                                                // 55
    u"starting ...",                                                                                             // 56
    u"Started building the list of tiles to download",                                                           // 57
    u"List created",                                                                                             // 58
    u"Starting thread",                                                                                          // 59
    u"Generate levels command received",                                                                         // 60
    u" starting ...",                                                                                            // 61
    u"Started building the list of tiles",                                                                       // 62
    u"List created",                                                                                             // 63
    u"Starting thread",                                                                                          // 64
    u"Stitch command received",                                                                                  // 65
    u"Started building the list of tiles to stitch",                                                             // 66
    u"Total:",                                                                                                   // 67
    u"Done: 0",                                                                                                  // 68
    u"Done:",                                                                                                    // 69
    u"Map + satellite",                                                                                          // 70
    u"Satellite only",                                                                                           // 71
    u"Map only",                                                                                                 // 72
    u"Timer",                                                                                                    // 73
    u"Start download in:",                                                                                       // 74
    u"hours",                                                                                                    // 75
    u"minutes",                                                                                                  // 76
    u"Connect automatically",                                                                                    // 77
    u"Connection",                                                                                               // 78
    u"User name:",                                                                                               // 79
    u"Password:",                                                                                                // 80
    u"Hang up all connections when finished",                                                                    // 81
    u"Test",                                                                                                     // 82
    u"Connect",                                                                                                  // 83
    u"Disconnect",                                                                                               // 84
    u"Cancel",                                                                                                   // 85
    u"no connections",                                                                                           // 86
    u"Progress",                                                                                                 // 87
    u"Allocating bitmap memory, Mb:",                                                                            // 88
    u"connecting",                                                                                               // 89
    u"Stitching started at",                                                                                     // 90
    u" Size ",                                                                                                   // 91
    u" coordinates",                                                                                             // 92
    u" tiles",                                                                                                   // 93
    u"Could not load",                                                                                           // 94
    u"Stitched in memory",                                                                                       // 95
    u"Downloaded",                                                                                               // 96
    u"disconnecting",                                                                                            // 97
    u"saving started",                                                                                           // 98
    u"file saved",                                                                                               // 99
    u"error while saving",                                                                                       // 100
    u"Generating lower zoom levels",                                                                             // 101
    u"freeing memory",                                                                                           // 102
    u"done at",                                                                                                  // 103
    u"Settings",                                                                                                 // 104
    u"Internet",                                                                                                 // 105
    u"Source",                                                                                                   // 106
    u"Cache",                                                                                                    // 107
    u"Errors",                                                                                                   // 108
    u"Timer",                                                                                                    // 109
    u"Stitching",                                                                                                // 110
    u"Controls",                                                                                                 // 111
    u"About",                                                                                                    // 112
    u"Work mode",                                                                                                // 113
    u"These settings are duplicated by buttons on the main toolbar",                                             // 114
    u"Use proxy",                                                                                                // 115
    u"(optional) Proxy user",                                                                                    // 116
    u"Proxy password",                                                                                           // 117
    u"port",                                                                                                     // 118
    u"The password and user name are stored in the ini file as plain text - be careful.",                        // 119
    u"Source",                                                                                                   // 120
    u"Satellite image request",                                                                                  // 121
    u"Hybrid layer request",                                                                                     // 122
    u"Map request",                                                                                              // 123
    u"Use mirrors (kh0..., kh1... etc.)",                                                                        // 124
    u"The version number (v=...) in the request changes over time. If images stop loading, try a larger number: the "
    u"server also accepts a number well above the current one.", // 125
    u"Outdated or missing images can be caused by this request string, or by the server blocking your address after "
    u"many parallel downloads.", // 126
    u"By changing this line you can also view images of the surface of the Moon or Mars. Just do not forget to change "
    u"the cache location, or instead of your city you may find a couple of craters.", // 127
    u"Restore defaults",                                                              // 128
    u"Cache location",                                                                // 129
    u"Specify",                                                                       // 130
    u"Use the old cache format (all layers in one folder)",                           // 131
    u"Convert to new",                                                                // 132
    u"Location of downloaded tiles. If no cache is specified, the program saves and looks for files in the subfolder "
    u"/cache",                                                           // 133
    u"Auto-generation of lower zoom levels",                             // 134
    u"Create tiles of lower zoom",                                       // 135
    u"Replace existing tiles with newly created ones (not recommended)", // 136
    u"jpeg compression:",                                                // 137
    u"While viewing and downloading from the current level, tiles of all lower zoom levels are created where possible. "
    u"This saves traffic but slows the program down.", // 138
    u"Error control when downloading / stitching",     // 139
    u"Use error control",                              // 140
    u"Download attempts per tile on error",            // 141
    u"Stop if disk write errors exceed",               // 142
    u"Stop if server download errors exceed",          // 143
    u"with interval (sec.)",                           // 144
    u"Stop if errors in received files exceed",        // 145
    u"Show log automatically",                         // 146
    u"Error control is used only when stitching and downloading. With error control on, the program repeats the "
    u"download of a tile when an error occurs and counts all errors. When the error limit is exceeded, downloading "
    u"stops. This is useful on poor lines - it keeps the cache clean and avoids wasting traffic. 3 kinds of errors are "
    u"recognized: Disk write errors - for example when the disk is full. Download errors - most often error 404 "
    u"because of a wrong zoom and the like. Errors in received files - on poor lines incomplete jpg files are quite "
    u"common, and the program recognizes them.",          // 147
    u"Additional features",                               // 148
    u"show timer/connection settings before downloading", // 149
    u"Before downloading, an additional window is shown where you can set up a delayed download or an automatic "
    u"connection to your provider. This saves traffic with time-based billing and/or when prices depend on the time of "
    u"day.",                                                              // 150
    u"Calibration",                                                       // 151
    u"Create calibration file for OziExplorer (.map)",                    // 152
    u"Create calibration file for MapInfo Profesional (.tab)",            // 153
    u"Create calibration file for ArcGIS Desktop (*.jpgw)",               // 154
    u"The calibration file holds the coordinates of the stitched image.", // 155
    u"",                                                                  // 156
    u"Mouse settings",                                                    // 157
    u"Zoom in with left click, zoom out with right click",                // 158
    u"Zoom in/out with the wheel, click to center",                       // 159
    u"Zelvano is a program for viewing and downloading map tiles and satellite images. Viewed tiles are kept in the "
    u"cache and are available without an internet connection. A selected area can be downloaded into the cache, "
    u"stitched into one image with calibration files, copied to a separate folder or used to generate lower zoom "
    u"levels.",                                                               // 160
    u"Done:",                                                                 // 161
    u"Total:",                                                                // 162
    u"Done: 0",                                                               // 163
    u"Found",                                                                 // 164
    u" files, processing them may take about",                                // 165
    u" minutes.",                                                             // 166
    u" Continue?",                                                            // 167
    u"Warning",                                                               // 168
    u"Total:",                                                                // 169
    u"Report",                                                                // 170
    u"Enter coordinates",                                                     // 171
    u"Latitude",                                                              // 172
    u"Longitude",                                                             // 173
    u"Options",                                                               // 174
    u"Stitch the selected area",                                              // 175
    u"Download tiles to the cache",                                           // 176
    u"Copy part of the cache to a separate folder",                           // 177
    u"Generate lower zoom levels for this area",                              // 178
    u"Selected area",                                                         // 179
    u"Top left corner:",                                                      // 180
    u"Bottom right corner:",                                                  // 181
    u"<- Change",                                                             // 182
    u"Zoom:",                                                                 // 183
    u"Cache copy options",                                                    // 184
    u"Copy to folder:",                                                       // 185
    u"do not copy files (only create calibration files linked to the cache)", // 186
    u"Stitching options",                                                     // 187
    u"Add the top left corner coordinates to the file name.",                 // 188
    u"Split into pieces of size:",                                            // 189
    u"Generating lower zoom levels",                                          // 190
    u"Replace existing tiles with created ones",                              // 191
    u"Do not change tiles already in the cache",                              // 192
    u"jpeg image quality:",                                                   // 193
    u"Create calibration files for OziExplorer (.map)",                       // 194
    u"Create MapInfo calibration files (.tab)",                               // 195
    u"create calibration file for ArcView",                                   // 196
    u"Selected area size:",                                                   // 197
    u"Level generation started at",                                           // 198
    u"Download started at",                                                   // 199
    u"Stitch/download",                                                       // 200
    u"Vector layer disabled because it is not available at this zoom.",       // 201
    u"What to do?",                                                           // 202
    u"",                                                                      // 203
    u"Choose an option:",                                                     // 204
    u"ReadMe.txt",                                                            // 205
    u"Search/bookmarks",                                                      // 206
    u"Running:",                                                              // 207
    u"Stop",                                                                  // 208
    u"",                                                                      // 209
    u"",                                                                      // 210
    u"",                                                                      // 211
    u"",                                                                      // 212
    u"",                                                                      // 213
    u"",                                                                      // 214
};

} // namespace zelvano
