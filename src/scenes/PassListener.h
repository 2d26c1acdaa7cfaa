// An optional observer of a scene's passes. The scenes announce each pass as it
// starts and the end of their last one; the frame benchmark times the passes
// with it. The program installs none, so a frame pays one null test per pass.
#pragma once

namespace korvath {

class PassListener {
public:
    virtual ~PassListener() = default;
    // The named pass starts now; the previous one, if any, has ended. passName
    // is nullptr when the frame's last pass has ended.
    virtual void passStarts(const char* passName) = 0;
};

inline void announcePass(PassListener* listener, const char* passName) {
    if (listener != nullptr) {
        listener->passStarts(passName);
    }
}

} // namespace korvath
