#include "cli/CliHelp.h"

namespace pelorine::cli {

std::string helpText() {
    return R"(Usage: pelorine-cli convert [OPTION]... FILE...
  or:  pelorine-cli run [OPTION]... BATCH.vpt
  or:  pelorine-cli commands [OPTION]... BATCH.vpt
  or:  pelorine-cli info FILE...
Convert videos for the PSP without a window: the same profiles, batch run
and engine as the Pelorine window, for terminals, ssh sessions and scripts.

Commands:
  convert   add each FILE as the window's Add does (identify it, name its
              output, take the profile's settings) and convert them all
  run       convert the Jobs of a project saved by the window
  commands  print every engine command line the project would run, one run
              a line (each part of a split Job on its own line); nothing runs
  info      identify each FILE: length, picture size, audio and subtitles,
              and the subtitle files beside it

Options:
  -p, --profile=PROFILE    (convert) the profile: its number 0-3 or name
                             0 mpeg4       PSP MPEG4 320x240 AAC (*.mp4)
                             1 mpeg4-wide  PSP MPEG4 480x272 AAC (*.mp4)
                             2 h264        PSP AVC H264 320x240 AAC (*.mp4)
                             3 mp3         Save as MP3 format (*.mp3)
                           or a .profile file saved by the window;
                           the default is 2
  -o, --output=DIR         (convert, run, commands) the output folder; for a
                             project, every Job keeps its file name
      --audio=TRACK        (convert) the sound track: its id as 'info' lists it,
                             or a language (en, jpn, German)
      --subtitles=WHICH    (convert) the subtitles burned into the picture: a
                             track id, a language, a subtitle file, or none
      --subcp=NAME         (convert) the code page of an 8-bit subtitle file
                             (windows-1250, ISO-8859-7); it is detected
                             without one
  -w, --overwrite=WHEN     (convert, run) when an output file exists already:
                             ask, skip or replace
  -j, --jobs=N             (convert, run) how many Jobs convert at the same
                             time: 1 to 8, or auto (one per processor this
                             program may use, as far as the free memory
                             goes); the default is the window's Settings ->
                             Jobs at once
      --send-to-psp        (convert, run) then copy every converted Job to the
                             PSP's memory stick, as the window's Send to PSP
      --resume             (run) convert only the Jobs whose outputs are not
                             there yet, so an interrupted batch goes on with
                             the same command; the others are skipped
                             (a Job split into parts is converted again)
  -h, --help               display this help and exit
      --version            output version information and exit

Without --output, --overwrite, --jobs, --audio, --subtitles and --subcp the
window's settings are used, from ~/.config/pelorine/zelvic.ini (Jobs at once,
and the sound and subtitle languages and the code page of Settings -> Sound
and Subtitles...). A language a file has no track in takes the file's default
sound track, and no subtitles.

pelorine-cli converts while the window converts, and beside other pelorine-cli
runs: each engine run talks through a channel folder of its own.

While a Job converts, a status line shows how far it is, how fast the engine
goes (times real time) and the time left; on a terminal it is redrawn in place.
Ctrl+C stops as the window's Stop does: the engine finishes a shorter file
that still plays, and the Job's outcome is "stopped". At the end a summary
names every Job's outcome and its engine log.

Exit status:
 0  if every Job was done (or skipped because its output was there and
    --overwrite said so),
 1  if a Job failed, was stopped or could not be read,
 2  if the command line was wrong.
)";
}

std::string versionText() {
    return std::string(kProgramName) + " (Pelorine) " PELORINE_VERSION R"(
License GPLv2+: GNU GPL version 2 or later <https://gnu.org/licenses/gpl.html>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)";
}

std::string usageHint() {
    return std::string("Try '") + kProgramName + " --help' for more information.";
}

}  // namespace pelorine::cli
