// VXPSFilter: the generic filter driver: the parameter block the host keeps,
// rendering the filter rectangle tile by tile, and the preview proxies with zoom.
#pragma once

#include "dialog/VXPSPreviewSession.h"
#include "plugin/VXPSPlugin.h"
#include "renderer/PixelBlock.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>
#include <string>

namespace morvessan {

class VXImage2;

// The previews it offers the dialogs are a VXPSPreviewSession.
class VXPSFilter : public VXPSPlugin, public VXPSPreviewSession {
public:
    static constexpr int kTileSize = 128;
    static constexpr int kZoomInLimit = -5;
    static constexpr const char* kBadModeMessage = "This filter works on 8-bit RGB images only.";
    static constexpr const char* kBadAreaMessage =
        "The host described the image with 32-bit coordinates that do not fit together.";

    VXPSFilter();
    ~VXPSFilter() override;

    // Selector operations.
    void DoParameters() override;
    void DoPrepare() override;
    void DoContinue() override;

    // Proxies: null until built.
    VXImage2* GetOutputImage() override { return m_output_image.get(); }
    VXImage2* GetSourceImage() override { return m_source_image.get(); }
    // The shaded proxy when the host has a selection, else the source proxy.
    VXImage2* GetDisplayImage() override;
    virtual VXImage2* GetMaskImage() { return m_mask_image.get(); }
    VXImage2* GetShadedImage() { return m_shaded_image.get(); }
    VXImage2* GetOverviewImage() override { return m_overview_image.get(); }

    // Each update refreshes the part of its proxy that shows `rect` (image
    // coordinates, inside the preview rectangle); each build makes it anew.
    virtual void UpdateSourceImage(const VXPSRect& rect);
    virtual void BuildSourceImage();
    virtual void UpdateShadedImage(const VXPSRect& rect);
    virtual void BuildShadedImage();
    virtual void UpdateMaskImage(const VXPSRect& rect);
    virtual void BuildMaskImage();
    virtual void UpdateOutputImage(const VXPSRect& rect);
    void BuildOutputImage() override;
    void SetTiledView(bool on) override;
    bool GetTiledView() const override { return m_tiled_view; }

    VXPSCursor GetPanCursor() override { return {}; }
    // Lets the user pick a colour (0x00BBGGRR in and out); true when one was chosen.
    virtual bool ChooseColour(std::uint32_t& colour);
    virtual void GetHelpFilePath(std::string& path);
    // The bytes of the host's complex property `key` of `signature`; nothing when
    // the host has no property suite or no such property, or answers with a size
    // that is negative or more than `most` (nothing is copied or kept locked then).
    std::optional<std::vector<std::uint8_t>> HostComplexProperty(std::uint32_t signature, std::uint32_t key,
                                                                 std::size_t most);

    // The concrete filter's parameter block.
    virtual std::int32_t GetParameterSize() { return 0; }
    virtual void SetParameterBlock(void* /*block*/) {}
    virtual void InitialiseParameters() {}
    virtual void ParametersRestored() {}

    // Rendering: once before a series of tiles, then per tile. `rect` is the
    // area of the image the blocks stand for.
    virtual void BeginRender(bool /*preview*/) {}
    virtual void RenderTile(const PixelBlock& /*in*/, const PixelBlock& /*out*/, const VXPSRect& /*rect*/) {}
    virtual void RenderMaskedTile(const PixelBlock& /*in*/, const PixelBlock& /*out*/, const PixelBlock& /*mask*/,
                                  const VXPSRect& /*rect*/) {}
    // One tile of the tiles the host served together (`mask.data` null without a mask).
    struct TileWork {
        PixelBlock in;
        PixelBlock out;
        PixelBlock mask;
        VXPSRect rect;
    };
    // How many tiles along a row the host is asked for at once (1: one by one);
    // they then come to RenderTiles together.
    virtual std::int32_t TilesAtOnce() { return 1; }
    // Renders tiles the host served together; by default one after another,
    // through RenderTile and RenderMaskedTile.
    virtual void RenderTiles(const std::vector<TileWork>& tiles);
    virtual void FilterImage();

    bool EnableAlpha(bool allowed);
    void PrepareParameters();
    // Takes the image's mode and rectangles from the record; a mode the tiles
    // cannot hold is the host's bad-mode error. Start reads them again, since
    // some hosts skip Prepare when they repeat a filter.
    void ReadHostImage();

    // Preview and zoom.
    void SetPreviewSize(std::int32_t width, std::int32_t height) override;
    void ZoomIn() override;
    void ZoomOut() override;
    bool CanZoomIn() const override { return m_zoom > m_zoom_in_limit; }
    bool CanZoomOut() const override { return m_zoom < m_zoom_out_limit; }
    // Width and height of the image area the preview covers at the current zoom.
    void GetVisibleSize(std::int32_t& width, std::int32_t& height) const;
    void SetPreviewRect(const VXPSRect& rect) override;
    void ScrollPreview(std::int32_t dx, std::int32_t dy) override;
    void BuildOverviewImage(std::int32_t width, std::int32_t height) override;

    // Help: the help file followed by a topic such as "::/Welcome.htm".
    void ShowHelpTopic(const std::string& topic);
    void EnableContextHelp(bool enabled) { m_context_help = enabled; }
    bool IsContextHelpEnabled() const { return m_context_help; }

    // Host callbacks: a failing advanceState or a user abort throws its code.
    void CheckAbort();
    void ReportProgress(std::int32_t done, std::int32_t total);
    void AdvanceState();

    bool HasAlpha() const { return m_has_alpha; }
    std::int32_t GetZoom() const override { return m_zoom; }
    std::int32_t GetZoomOutLimit() const { return m_zoom_out_limit; }
    std::int32_t GetZoomInLimit() const { return m_zoom_in_limit; }
    std::int32_t GetPreviewWidth() const override { return m_preview_width; }
    std::int32_t GetPreviewHeight() const override { return m_preview_height; }
    const VXPSRect& GetPreviewRect() const override { return m_preview_rect; }
    const VXPSRect& GetWholeRect() const { return m_whole_rect; }
    const VXPSRect& GetFilterRect() const override { return m_filter_rect; }
    bool HostHasMask() const;

protected:
    // The host's 32-bit coordinates, marked as the ones this plug-in reads, when
    // it offers them; null for a host with the record's 16-bit ones only.
    BigDocumentStruct* BigDocument();
    // Whether the record reaches the fields of the current interface (`depth`, the
    // 32-bit coordinates and after): false for hosts whose buffer suite says they
    // are of an older generation, whose records end before those fields.
    bool HostRecordIsCurrent() const;
    // Empties inRect, outRect and maskRect: the host then asks for no more data.
    void ClearHostRectangles();
    // Asks for these rectangles at the next advanceState (an empty one asks for
    // nothing): in the 32-bit fields, and clamped in the 16-bit ones, when the
    // host has them, else in the 16-bit ones alone.
    void AskHost(const VXPSRect& in, const VXPSRect& out, const VXPSRect& mask);
    // After advanceState: the host served the rectangles AskHost asked for, with
    // rows of at least `width` pixels of `planes` bytes; otherwise nothing is touched.
    void CheckServed(const VXPSRect& in, const VXPSRect& out, const VXPSRect& mask, std::int32_t width,
                     std::int32_t planes);
    // Image pixels per proxy pixel at the current zoom.
    std::int32_t SampleFactor() const { return m_zoom > 1 ? m_zoom : 1; }
    // The preview rectangle divided by the sample factor: what the proxies hold.
    VXPSRect ReducedRect(const VXPSRect& rect) const;
    // Blocks over whole proxies, or over the part that shows `rect`.
    static PixelBlock ImageBlock(VXImage2& image);
    PixelBlock ProxyBlock(VXImage2& image, const VXPSRect& rect) const;

private:
    enum class ProxyKind { Source, Shaded, Mask, Overview };
    std::unique_ptr<VXImage2> MakeProxy(const VXPSRect& reduced, ProxyKind kind) const;
    // Fetches a whole proxy of the preview rectangle anew, or one band of it.
    void FetchWholeProxy(std::unique_ptr<VXImage2>& proxy, ProxyKind kind);
    void FetchProxyBand(VXImage2& proxy, ProxyKind kind, const VXPSRect& rect);
    void FetchProxy(VXImage2& image, std::int32_t x, std::int32_t y, const VXPSRect& reduced, std::int32_t rate,
                    ProxyKind kind);
    void RenderProxy(const VXPSRect& rect);
    // The whole filter rectangle rendered at half the output proxy's size over the
    // source at that size, then laid 2 x 2 over the proxy.
    void RenderTiledProxy();
    void RebuildPreview();
    void ScrollAxis(std::int32_t move, bool vertical);

    std::unique_ptr<VXImage2> m_source_image;
    std::unique_ptr<VXImage2> m_shaded_image;
    std::unique_ptr<VXImage2> m_mask_image;
    std::unique_ptr<VXImage2> m_output_image;
    std::unique_ptr<VXImage2> m_overview_image;
    std::int32_t m_preview_width = 0;
    std::int32_t m_preview_height = 0;
    bool m_has_alpha = false;
    std::int32_t m_zoom = 1;
    std::int32_t m_zoom_out_limit = 1;
    std::int32_t m_zoom_in_limit = kZoomInLimit;
    VXPSRect m_preview_rect;
    VXPSRect m_whole_rect;
    VXPSRect m_filter_rect;
    bool m_context_help = true;
    bool m_tiled_view = false;
};

} // namespace morvessan
