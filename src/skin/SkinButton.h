#pragma once
// The clickable element of a skinned window, built from one BTN of its skin section: a standard push
// button (so clicks, capture and BN_CLICKED come from the window layer) that never paints itself. Its
// parent draws it with DrawButton into its own picture, which lets buttons sit on a per-pixel-alpha
// window. It keeps its hover, pressed and checked states, swaps its state picture (and its size) as they
// change, and can blink.

#include <memory>
#include <string>

#include "platform/gfx/canvas.h"
#include "platform/ui/tooltip.h"
#include "platform/ui/wnd.h"
#include "skin/ImageEx.h"
#include "skin/SkinDefs.h"

class CSkinButton : public CWnd {
public:
    static constexpr UINT_PTR kBlinkTimer = 1;
    static constexpr UINT kBlinkMs = 500;
    // Where a badge's bottom-right corner sits, right of and below the button's top-left corner.
    static constexpr int kBadgeOffset = 62;

    CSkinButton();
    ~CSkinButton() override;

    // A visible child push button of `parent` with an empty rectangle; `check` plays no part here.
    virtual BOOL CreateButton(CWnd* parent, UINT id, int check);
    // Pictures, icon and badge, the anchored place in the parent, the tooltip (when `tooltip` is given
    // and the element has a tip) and the caption layout. `section` is not used.
    virtual BOOL SetupFromDef(const std::wstring& section, const SkinButtonDef& def,
                              platform::CToolTipCtrl* tooltip);
    // Draws picture, icon, caption and badge at the button's place on `canvas`, which is in the
    // parent's client coordinates.
    virtual void DrawButton(platform::Canvas& canvas);
    // Shows the picture the hover and pressed states call for, resizing the button to it.
    virtual void UpdateStateImage();

    // The pictures of `id`, `id` + 1 and `id` + 2 (normal, hover, pressed); 0 removes them.
    void SetImages(int id);
    // Re-places the button by its anchor against the parent's client rectangle, keeping its size.
    void Relayout(const RECT& parentClient);
    void SetTitle(const std::wstring& title);
    // Alternates between no picture and the normal ones every 500 ms until switched off or clicked.
    void SetBlink(BOOL on);
    void SetHandCursor(BOOL on) { m_bHandCursor = on; }

    const SkinButtonDef& GetDef() const { return m_def; }
    BOOL IsHover() const { return m_bHover; }
    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsChecked() const { return m_bChecked; }
    BOOL IsBlinking() const { return m_bBlink; }
    // The state picture on show: 0 normal, 1 hover, 2 pressed, -1 none.
    int ShownState() const;

protected:
    void PreSubclassWindow() override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(platform::Canvas* canvas) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnMouseHover(UINT flags, POINT point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnTimer(UINT_PTR id) override;

private:
    // The button's rectangle in its parent's client coordinates.
    RECT RectInParent() const;
    void InvalidateParent(const RECT& rect);
    // The caption's font; false when there is no caption to draw (no title, or no such FONT).
    bool CaptionFont(platform::FontSpec& font) const;
    bool HasCaption() const {
        platform::FontSpec font;
        return CaptionFont(font);
    }
    void DrawCaption(platform::Canvas& canvas, const platform::RectF& layout) const;
    // The icon and the caption of each style, on the face DrawButton drew.
    struct Face;
    void LayOutIconLeft(const Face& face) const;
    void LayOutIconAbove(const Face& face) const;
    void LayOutIconRight(const Face& face) const;
    void LayOutIconAfterCaption(const Face& face) const;
    // The badge over the top left corner at (l, t).
    void DrawBadge(platform::Canvas& canvas, int l, int t) const;

    SkinButtonDef m_def;
    std::unique_ptr<CImageEx> m_images[3];
    CImageEx* m_pCurImage = nullptr;
    std::unique_ptr<CImageEx> m_pIcon;
    std::unique_ptr<CImageEx> m_pBadge;
    int m_nImageId = 0;
    platform::TextFormat m_format;
    BOOL m_bHover = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bChecked = FALSE;
    BOOL m_bTracking = FALSE;
    BOOL m_bHandCursor = FALSE;
    BOOL m_bBlink = FALSE;
};
