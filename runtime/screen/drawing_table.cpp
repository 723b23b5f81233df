// The default operation table of every drawing context, in slot order.
#include "runtime/screen/drawing_private.h"

namespace {

const DrawingOperations kDefault = {
    &DrawingOp_BackColor,               // 0
    &DrawingOp_Box,                     // 1
    &DrawingOp_RoundedBox,              // 2
    &DrawingOp_Circle,                  // 3
    &DrawingOp_Font,                    // 4
    &DrawingOp_DirectBuffer,            // 5
    &DrawingOp_BufferPitch,             // 6
    &DrawingOp_BufferPixelFormat,       // 7
    &DrawingOp_DrawingMode,             // 8
    &DrawingOp_DrawImage,               // 9
    &DrawingOp_DrawImageSized,          // 10
    &DrawingOp_DrawImageThroughMemory,  // 11
    &DrawingOp_Text,                    // 12
    &DrawingOp_RotatedText,             // 13
    &DrawingOp_Ellipse,                 // 14
    &DrawingOp_Fill,                    // 15
    &DrawingOp_FrontColor,              // 16
    &DrawingOp_GrabImage,               // 17
    &DrawingOp_Line,                    // 18
    &DrawingOp_Plot,                    // 19
    &DrawingOp_PlotColor,               // 20
    &DrawingOp_Point,                   // 21
    &DrawingOp_Start,                   // 22
    &DrawingOp_Stop,                    // 23
    &DrawingOp_TextHeight,              // 24
    &DrawingOp_TextWidth,               // 25
};

}  // namespace

const DrawingOperations& Drawing_DefaultOperations() {
    return kDefault;
}
