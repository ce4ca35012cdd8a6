#pragma once
// The layered skinned window (the launcher's base): every pixel, its alpha included, comes from the
// composition of the skin's images, buttons and texts, handed to the desktop whole. It is dragged by a
// press anywhere, and a close request clicks its "close" button.

#include <map>
#include <memory>
#include <string>

#include "windows/SkinWndBase.h"

class CSkinWnd : public CSkinWndBase {
public:
    explicit CSkinWnd(const std::wstring& section);
    ~CSkinWnd() override;

    void Show(BOOL bShow) override;
    // Draws the whole window and hands the picture over; also shows the window and takes it out of
    // the topmost band.
    void Compose();

    // Decodes every image from its resource at each composition instead of drawing the pictures decoded
    // at the build; the pixels are the same. For measuring what the cache saves.
    void SetReloadImagesOnCompose(bool reload) { m_bReloadImages = reload; }

protected:
    UINT NextButtonId() override;
    int OnCreate(CREATESTRUCT* cs) override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnClose() override;

private:
    void DrawImages(platform::Canvas& canvas);

    bool m_bReloadImages = false;
};
