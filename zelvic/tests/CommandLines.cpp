#include "CommandLines.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zelvic::test {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string format(const char* pattern, auto... values) {
    char buffer[2048];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

std::string audioFilters(const JobLine& job) {
    std::string piece = " ";
    if (job.audioChannel != "default" || job.audioVolume != "default") {
        piece = " -af ";
    }
    if (job.audioChannel != "default") {
        const std::string channel = lower(job.audioChannel);
        if (channel == "left stereo") {
            piece += "channels=2:2:0:0:0:1";
        } else if (channel == "right stereo") {
            piece += "channels=2:2:1:0:1:1";
        } else if (channel == "left mono") {
            piece += "channels=1:1:0:0";
        } else if (channel == "right mono") {
            piece += "channels=1:1:1:0";
        } else if (channel == "mixed mono") {
            piece += "pan=1:0.5:0.5";
        }
    }
    if (job.audioVolume != "default") {
        if (job.audioChannel != "default") {
            piece += ",";
        }
        piece += job.audioVolume == "normalize" ? "volnorm"
                                                : format("volume=%sdb:sc", job.audioVolume.c_str());
    }
    return piece + format(" -srate %s ", job.audioSampleRate.c_str());
}

std::string videoPiece(const JobLine& job) {
    const char* ab = job.audioBitrate.c_str();
    const char* vb = job.videoBitrate.c_str();
    const char* qmin = job.quantizerMin.c_str();
    const char* qmax = job.quantizerMax.c_str();
    if (job.videoDisabled != "no") {
        std::string piece =
            job.audioDisabled != "no"
                ? " XXX "
                : format(
                      " -oac lavc -lavcopts acodec=aac:abitrate=%s -ffourcc mp4v -of lavf "
                      "-lavfopts format=mp4:i_certify_that_my_video_stream_does_not_use_b_frames",
                      ab);
        return piece + " -ovc frameno -of rawaudio ";
    }
    const std::string size = lower(job.videoSize);
    std::size_t separator = size.find('x');
    if (separator == std::string::npos) {
        separator = size.find(':');
    }
    int width = 320;
    int height = 240;
    if (separator != std::string::npos) {
        width = std::atoi(size.substr(0, separator).c_str());
        height = std::atoi(size.substr(separator + 1).c_str());
    }
    std::string piece;
    if (static_cast<double>(width) / height <=
        static_cast<double>(job.sourceWidth) / job.sourceHeight) {
        piece = format(" -vf scale=%d:-2,harddup,expand=%d:%d:-1:-1:1 ", width, width, height);
    } else {
        piece = format(" -vf scale=-2:%d,harddup,expand=%d:%d:-1:-1:1 ", height, width, height);
    }
    if (job.videoFrameRate != "default") {
        piece += format(" -ofps %s", job.videoFrameRate.c_str());
    }
    const bool h264 = job.videoCodec == "h264";
    if (job.audioDisabled != "no") {
        piece +=
            h264 ? format(
                       " -oac lavc -ovc lavc -lavcopts keyint=500:level=13:vqmin=%s:vqmax=%s:"
                       "vrc_maxrate=%s:vratetol=10:bit_exact:coder=0:aglobal=1:vglobal=1:"
                       "vcodec=h264:vbitrate=%s:v4mv:qpel:trell=lambda:mbd=1:vme=1 -of lavf "
                       "-lavfopts format=mp4:i_certify_that_my_video_stream_does_not_use_b_frames ",
                       qmin, qmax, vb, vb)
                 : format(
                       " -ovc lavc -lavcopts vcodec=mpeg4:vbitrate=%s:mbd=2:cmp=2:subcmp=2:"
                       "trell=yes:v4mv=yes:aic=2:vglobal=1:aglobal=1 -ffourcc mp4v -of lavf "
                       "-lavfopts format=mp4:i_certify_that_my_video_stream_does_not_use_b_frames",
                       vb);
    } else {
        piece += h264 ? format(
                            " -oac lavc -ovc lavc -lavcopts vqmin=%s:vqmax=%s:vrc_maxrate=%s:"
                            "vratetol=10:coder=1:aglobal=1:vglobal=1:vcodec=h264:acodec=aac:"
                            "vbitrate=%s:abitrate=%s:trell=2:mbd=2:cmp=2:subcmp=2 -vf harddup -of "
                            "lavf -lavfopts "
                            "format=psp:i_certify_that_my_video_stream_does_not_use_b_frames ",
                            qmin, qmax, vb, vb, ab)
                      : format(
                            " -oac lavc -ovc lavc -lavcopts acodec=aac:abitrate=%s:vcodec=mpeg4:"
                            "vbitrate=%s:vglobal=1:aglobal=1 -vf harddup  -of lavf -lavfopts "
                            "format=psp:i_certify_that_my_video_stream_does_not_use_b_frames",
                            ab, vb);
    }
    return piece;
}

}  // namespace

std::string composeCommandLine(const JobLine& job) {
    std::string line = " \"" + job.source + "\" ";
    if (lower(job.format) == "mp3") {
        if (job.audioDisabled != "no") {
            line += " -nosound ";
        } else {
            line += audioFilters(job) + "  -ovc frameno -oac mp3lame -lameopts " +
                    format(" cbr:br=%s:mode=0 -of rawaudio ", job.audioBitrate.c_str());
        }
    } else {
        line += job.audioDisabled != "no" ? " -nosound " : audioFilters(job);
        line += videoPiece(job);
    }
    line += job.timing;
    line += " -o \"" + job.output + "\"";
    line += " -currentfolder \"" + job.folder + "\" ";
    return line;
}

std::vector<std::string> splitCommandLine(const std::string& text) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            std::size_t count = 0;
            while (i < text.size() && text[i] == '\\') {
                ++count;
                ++i;
            }
            if (i < text.size() && text[i] == '"') {
                current.append(count / 2, '\\');
                if (count % 2 == 1) {
                    current += '"';
                } else {
                    quoted = !quoted;
                }
            } else {
                current.append(count, '\\');
                --i;
            }
            inArgument = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) {
                args.push_back(current);
                current.clear();
                inArgument = false;
            }
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        args.push_back(current);
    }
    return args;
}

}  // namespace zelvic::test
