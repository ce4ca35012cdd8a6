#pragma once
// What the two skinned window bases share: a borderless top-level window built once from one section of
// the skin (its size, centred in the work area, its images, rectangles, texts and one button per BTN),
// the routing of button clicks to OnSkinButton by name, a tooltip for the buttons' tips, and the work-area
// limits. The layered window (CSkinWnd) and the framed one (CSkinWnd2) differ in how they paint, drag and
// close.

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/ui/tooltip.h"
#include "platform/ui/wnd.h"
#include "skin/SkinButton.h"
#include "skin/SkinDefs.h"

class CSkinWndBase : public CWnd {
public:
    static constexpr UINT kFirstButtonId = 10000;
    static constexpr UINT kLastButtonId = 19999;

    explicit CSkinWndBase(const std::wstring& section);
    ~CSkinWndBase() override;

    // A hidden window (unless `dwStyle` says otherwise) of the skin window class, owned by `hParent`.
    virtual BOOL Create(HWND hParent, DWORD dwExStyle, DWORD dwStyle);
    // Shown restored when it was minimised, brought to the top and to the foreground; or hidden.
    virtual void Show(BOOL bShow);
    // Reads the section and creates the buttons; called once at creation.
    virtual void BuildFromSkin();
    // A click on a button, with that button's element.
    virtual void OnSkinButton(const SkinButtonDef& def) = 0;
    // One line, near-aligned, centred vertically, ending in an ellipsis when too long.
    virtual void DrawSkinText(platform::Canvas& canvas, const std::wstring& text, COLORREF color,
                              const SkinFontDef& font, const platform::RectF& layout);

    // Names compare without regard to case.
    CSkinButton* FindButton(const std::wstring& name) const;
    // Every image of that name, not only the first; takes effect at the next paint.
    void SetImageVisible(const std::wstring& name, BOOL bVisible);
    BOOL FindRect(const std::wstring& name, SkinRectDef& rect) const;

    int m_nWidth = 0;
    int m_nHeight = 0;
    BOOL m_bMinimized = FALSE;
    BOOL m_bCenter = TRUE;
    SkinWindowDef m_wndDef;

protected:
    // The next id of this window family's process-wide button counter.
    virtual UINT NextButtonId() = 0;
    // The window text the build sets.
    virtual std::wstring CaptionText() const { return m_wndDef.title; }

    int OnCreate(CREATESTRUCT* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnEraseBkgnd(platform::Canvas* canvas) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Posts a click to the "close" button; false when the skin has none.
    bool ClickCloseButton();
    // Where an element of `size` lands by its anchor in the client area.
    POINT Anchored(int left, int top, const std::wstring& align, const RECT& size) const;
    void DrawButtons(platform::Canvas& canvas);
    void DrawTexts(platform::Canvas& canvas);

    std::wstring m_strSection;
    platform::CToolTipCtrl m_tooltip;
    SkinImageList m_imageDefs;
    SkinRectList m_rectDefs;
    SkinTextList m_textDefs;
    std::vector<std::unique_ptr<CSkinButton>> m_buttons;
    HICON m_hIcon = nullptr;
};
