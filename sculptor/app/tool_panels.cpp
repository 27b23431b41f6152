// The floating panels of the later tools. Each is created hidden with its
// caption; the tool that owns it fills it and shows it.
#include "app/floating_panel.h"
#include "app/form_main.h"
#include "render/panel_centro.h"
#include "render/panel_centro_tex.h"

void TFormMain::BuildToolPanels() {
  static const std::pair<const char*, const char*> kPanels[] = {
      {"PanelEditSphere", "Edit"},
      {"PanelSkech", "Skech Control"},
      {"PanelStamp", "Stamp"},
      {"PanelStencil", "Projection Tools"},
      {"PanelRefImage", "Reference Image Tools"},
      {"PanelReference", "Reference Images"},
      {"PanelPaintColor", "Paint"},
      {"PanelTexture", "Texture"},
      {"PanelCreateUVW", "Create UV"},
      {"PanelImageTex", "Texture Image"},
      {"PanelCreatingUV", "Creating UV"},
      {"PanelReduction", "Mesh Reduction"},
      {"PanelCreateAO", "Ambient Occlusion"},
      {"PanelRemesh", "Remesh"},
      {"PanelSaveScreen", "Image Render"},
  };
  for (const auto& [name, title] : kPanels) {
    auto* panel = new FloatingPanel(name, title, centro_);
    connect(panel, &FloatingPanel::moved, this, &TFormMain::Redraw);
    panel->move(180, 40);
    panel->hide();
    toolPanels.emplace(name, panel);
  }
  BuildPanelConfig();
  toolPanels.emplace("PanelConfig", PanelConfig);
  // The texture tools draw on a second GL widget of their own, hidden until they run.
  auto* texturePanel = new PanelCentroTex(toolPanels.at("PanelTexture"));
  texturePanel->setObjectName("PanelCentroTex");
  texturePanel->hide();
}
