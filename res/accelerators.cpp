#include "res/accelerators.h"

#include "res/command_ids.h"

#include <array>

namespace pw::res {
namespace {

constexpr Accelerator Key(int key, int command) { return {key, false, false, command}; }
constexpr Accelerator Ctrl(int key, int command) { return {key, true, false, command}; }
constexpr Accelerator Shift(int key, int command) { return {key, false, true, command}; }

constexpr std::array kTable{
    Key(vk::kEscape, cmd::kAbortRun),
    Ctrl('D', cmd::kResolutionDialog),
    Ctrl('C', cmd::kImageFormatDialog),
    Ctrl('N', cmd::kAntialiasNone),
    Ctrl('2', cmd::kAntialias2x),
    Ctrl('3', cmd::kAntialias3x),
    Ctrl('5', cmd::kAntialias5x),
    Ctrl('7', cmd::kAntialias7x),
    Ctrl('0', cmd::kAntialias10x),
    Ctrl('Z', cmd::kAntialias15x),
    Ctrl('X', cmd::kAntialias20x),
    Ctrl('H', cmd::kHatchAccelerator),
    Key(vk::kF1, cmd::kHelp),
    Key(vk::kF3, cmd::kPresetTextGraphics),
    Key(vk::kF4, cmd::kPresetWordArtPhoto),
    Key(vk::kF5, cmd::kPresetProfessional),
    Key(vk::kF6, cmd::kPresetDemoDefault),
    Ctrl('S', cmd::kSaveToDisk),
    Ctrl('M', cmd::kSendEmail),
    Ctrl('P', cmd::kSavePdf),
    Ctrl('W', cmd::kSaveHtml),
    Key(vk::kPageDown, cmd::kNextPage),
    Key(vk::kPageUp, cmd::kPreviousPage),
    Key(vk::kDown, cmd::kStripLineDown),
    Key(vk::kUp, cmd::kStripLineUp),
    Shift(vk::kDown, cmd::kViewLineDown),
    Shift(vk::kUp, cmd::kViewLineUp),
    Shift(vk::kRight, cmd::kViewLineRight),
    Shift(vk::kLeft, cmd::kViewLineLeft),
};

}  // namespace

std::span<const Accelerator> AcceleratorTable() { return kTable; }

}  // namespace pw::res
