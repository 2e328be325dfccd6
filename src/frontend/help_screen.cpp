#include "frontend/help_screen.h"

#include "frontend/run_driver.h"
#include "platform/system/console.h"

namespace {

// One entry per option, in the order the screen lists them.
const char* const OptionEntries[] = {
    // -w
    "   -w [width]...........Output video width (integer). Defaults to the\n"
    "\t\t\twidth of the first image in the sorted list.\n",
    // -h
    "   -h [height]..........Output video height (integer) Defaults to the\n"
    "\t\t\theight of the first image in the sorted list.\n",
    // -subf
    "   -subf................Include sub folders in input directory. Valid\n"
    "\t\t\tonly if /p is used.\n",
    // -fps
    "   -fps [FPS]...........Output frames per second (float). Defaults to 29.97\n",
    // -rt
    "   -rt [value]..........Repeat each input frame n times (float).\n"
    "\t\t\tDefaults to 1.\n",
    // -ds
    "   -ds [seconds]........Display each input frame f seconds (float).\n"
    "\t\t\tDefaults to value of -rt divided by value of -fps.\n",
    // -ia
    "   -ia [filename].......Include PCM WAV audio file (for AVI only).\n",
    // -gif
    "   -gif [loops] [t] [d].Output as GIF animation, instead of default AVI.\n"
    "\t\t\tAll 3 options after -gif are required.  See document-\n"
    "\t\t\tation for more details on GIF creation.\n"
    "\t\t       -[loops] (integer), 0 = infinity.\n"
    "\t\t       -[t] is transparency type (integer), 0 = not\n"
    "\t\t\ttransparent, 1 = top left pixel, 2 = bottom left pixel.\n"
    "\t\t       -[d] is draw method, 0 = Draw each frame new, 1 =\n"
    "\t\t\tDraw on top of previous frame.\n",
    // -sf
    "   -sf..................Sort list image file names before processing.\n",
    // -sb
    "   -sb..................Same as sf, but sorts backwards.\n",
    // -sd
    "   -sd [depth]..........Sort depth (integer). Only the last N chars are\n"
    "\t\t\tcompared in the sort. Defaults to -1, unlimited depth.\n",
    // -ar
    "   -ar..................Do not maintain aspect ratio.\n",
    // -zi
    "   -zi..................Do not fit smaller images to display size.\n",
    // -bsw
    "   -bsw [%].............Border size width % (float). Defaults to zero.\n",
    // -bsh
    "   -bsh [%].............Border size height % (float). Defaults to zero.\n",
    // -pf
    "   -pf [value]..........Pixel format (8 = 8bit, 24 = 24bit).\n"
    "\t\t\tDefaults to 24bit.\n",
    // -rm
    "   -rm [value]..........Resize method (1 = standard, 2 = smooth,\n"
    "\t\t\t3 = bilinear). Defaults to 3.\n",
    // -bgc
    "   -bgc [r] [g] [b].....Background color (integers 0-255).\n"
    "\t\t\tDefaults to 0 0 0 (black).\n",
    // -bgi
    "   -bgi [filename]......Include background image. Stretches to fit.\n",
    // -of
    "   -of..................Open output file when finished. (Plays AVI or GIF\n"
    "\t\t\tin default player when finished)\n",
    // -lf
    "   -lf [fileName].......Generate log file. Note:\n"
    "\t\t       -\"Exit - Success\" will be outputted on the last line\n"
    "\t\t\tif successful.\n"
    "\t\t       -\"Exit - Warnings\" followed by the number of warnings\n"
    "\t\t\twill be outputted if warnings occurred.\n"
    "\t\t       -\"Exit - Aborted\" will be outputted if failed.\n"
    "\t\t       -Overwrites existing log file.\n",
    // -co
    "   -co..................Cancels operation if file \"Abort.vtl\" exists in the\n"
    "\t\t\toutput directory. Deletes this file after aborted.\n",
    // -hcd
    "   -hcd [FourCC]........Hide codec dialog. Requires a FourCC code string.\n"
    "\t\t       -Example1: \"-hcd DIB\" for uncompressed AVI.\n"
    "\t\t       -Example2: \"-hcd XVID\" for XVideo AVI.\n"
    "\t\t       -Example3: \"-hcd FFDS\" for ffdshow video codec pack.\n"
    "\t\t       -The fourCC is case sensitive and must not exceed 4\n"
    "\t\t\tcharacters.\n",
    // -mi
    "   -mi [value]..........Maximum image count (integer).\n"
    "\t\t\tDefaults to 100,000\n",
    // -hew
    "   -hew.................Hide error windows. This option will output error\n"
    "\t\t\tmessages to the console and log file only.\n",
    // -owp
    "   -owp.................Turn on overwrite protection. A confirmation\n"
    "\t\t\twindow will be shown if output file already exists.\n",
    // -fdir
    "   -fdir................Force create output directories. If the output folder\n"
    "\t\t\tpath does not exist, the path will be created.\n",
    // -sem
    "   -sem [maskList]......Set extension mask list. Used only when loading pics\n"
    "\t\t\tfrom a folder. The default mask list includes all\n"
    "\t\t\tsupported images. Must be entered as a comma delimited\n"
    "\t\t\tstring of extension masks, no spaces.\n"
    "\t\t       -Example: -sem *.jpg,*.jpeg,*.bmp\n",
};

} // namespace

void PrintHelp() {
    ConsoleWrite("\nVantrel_CL - ");
    ConsoleWrite(VersionText);
    ConsoleWrite("\n\n");
    ConsoleWrite("************************** Help *************************\n"
                 "\n");
    ConsoleWrite("   Example1: Vntrl [/p [path to pics]] [output name] [-w [width]]\n"
                 "\t     [-h [height]] [/fps [framesPerSecond]]\n");
    ConsoleWrite("   Example2: Vntrl [/t [text file]] [output name] [-w [width]] [-h [height]]\n"
                 "\n");
    ConsoleWrite("Required Parameters in order of priority:\n"
                 "\n");
    ConsoleWrite("   /p [folder path].....Use folder containing list of pictures.\n"
                 "\t\t\tNot required if /t is used.\n"
                 "   /t [filename]........Use text file containing a return delimited path to\n"
                 "\t\t\teach picture. Not required if /p is used.\n"
                 "   [output name]........Example c:\\output.avi or output.avi (relative path)\n"
                 "\t\t\tExisting file will be overwritten by default.\n"
                 "\n");
    ConsoleWrite("Options (order not important):\n"
                 "\n");
    for (const char* entry : OptionEntries)
        ConsoleWrite(entry);
    ConsoleWrite("\n"
                 "NOTE: Standard AVI files are limited to 2GB (1GB for some players) file size.\n");
    ConsoleWrite("NOTE: GIF animations are created completely in memory. Maximum size is therefore "
                 "limited to system resources.\n");
    ConsoleWrite("Supported Formats: (Output: Standard AVI, GIF animation)\n"
                 "\t\t   (Input: JPEG, BMP, GIF, ICO, WMF, EMF, WAV (PCM format))");
}
