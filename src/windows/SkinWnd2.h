#pragma once
// The framed skinned window (the game window's base): an opaque window that paints itself, so real
// child windows such as the browser can live in it. Its painting adds a background colour, stretched and
// nine-grid images and an optional title bar with a logo; it is dragged by its title strip while movable,
// never resized below the skin's size, and a close request goes to OnCloseRequest.

#include <string>

#include "windows/SkinWndBase.h"

class CSkinWnd2 : public CSkinWndBase {
public:
    explicit CSkinWnd2(const std::wstring& section);
    ~CSkinWnd2() override;

    void OnSkinButton(const SkinButtonDef& def) override;
    // What a close request from the desktop does: by default, a click on the "close" button.
    virtual void OnCloseRequest();

    // A press in the title strip drags the window while this is set.
    BOOL m_bMovable = TRUE;

protected:
    UINT NextButtonId() override;
    std::wstring CaptionText() const override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    void OnClose() override;

private:
    void DrawImages(platform::Canvas& canvas);
    void DrawTitleBar(platform::Canvas& canvas);
};
