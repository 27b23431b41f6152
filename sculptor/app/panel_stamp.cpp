#include "app/panel_stamp.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/document.h"
#include "app/picture_files.h"
#include "app/widget_factory.h"
#include "sculpt/stamp_file.h"

namespace {

constexpr const char* kStampFiles[12] = {"images/defaultx.bmp",    "images/softx.bmp",   "images/disformx.bmp",
                                         "images/diffuse.bmp",     "images/lines1x.bmp", "images/stonesx.bmp",
                                         "images/star.bmp",        "images/disc1x.bmp",  "images/xadrezx.bmp",
                                         "images/smallballsx.bmp", "images/lines2x.bmp", "images/lineslittlex.bmp"};
constexpr const char* kDefaultStamp = "images/xadrez.bmp";  // the brush's own, not BitStamp9's
constexpr int kDefaultRepeat = 10;

}  // namespace

TPanelStamp::TPanelStamp(TDocument& doc, QWidget* parent) : FloatingPanel("PanelStamp", "Stamp", parent), doc_(doc) {
  move(180, 40);
  hide();
  auto* set = new QGroupBox("Set Stamp", this);
  auto* buttons = new QGridLayout(set);
  for (int i = 0; i < 12; ++i) {
    const QByteArray name = QString("BitStamp%1").arg(i + 1).toLatin1();
    BitStamp[i] = Named(new QToolButton(set), name.constData());
    BitStamp[i]->setIconSize(QSize(32, 32));
    BitStamp[i]->setIcon(QPixmap::fromImage(ReadPicture(doc_.ProgramFile(kStampFiles[i]))));
    buttons->addWidget(BitStamp[i], i / 4, i % 4);
    connect(BitStamp[i], &QToolButton::clicked, this, [this, i] { BitStampClick(i); });
  }
  body()->addWidget(set);
  ImageStamp = Named(new QLabel(this), "ImageStamp");
  ImageStamp->setFixedSize(96, 96);
  ImageStamp->setAlignment(Qt::AlignCenter);
  body()->addWidget(ImageStamp, 0, Qt::AlignHCenter);
  SpeedButton16 = PanelButton("SpeedButton16", "Import Stamp", this);
  body()->addWidget(SpeedButton16);
  auto* size = new QGridLayout;
  size->addWidget(new QLabel("Size:", this), 0, 0);
  LabelSizeNumber = Named(new QLabel(QString::number(kDefaultRepeat), this), "LabelSizeNumber");
  size->addWidget(LabelSizeNumber, 0, 1);
  TrackBarSize = TrackBar("TrackBarSize", 0, 100, kDefaultRepeat, this);
  size->addWidget(TrackBarSize, 1, 0, 1, 2);
  body()->addLayout(size);
  SpeedCloseStamp = PanelButton("SpeedCloseStamp", "Close", this);
  body()->addWidget(SpeedCloseStamp);
  adjustSize();

  connect(SpeedButton16, &QToolButton::clicked, this, &TPanelStamp::SpeedButton16Click);
  connect(TrackBarSize, &QSlider::valueChanged, this, &TPanelStamp::TrackBarSizeChange);
  connect(SpeedCloseStamp, &QToolButton::clicked, this, &TPanelStamp::SpeedCloseStampClick);
}

void TPanelStamp::ShowStamp(const QString& path) {
  stampImagePath_ = path;
  const QImage picture = ReadPicture(path);
  shownSize_ = picture.size();
  ShowPicture(ImageStamp, picture);
}

void TPanelStamp::MapCurrentElement(const TStampProjection& projection) {
  projection_ = projection;
  ComputeStampCoords(doc_.scene().current(), projection.origin, projection.repeat, sampler_.coords);
}

void TPanelStamp::BrushSelected(int item) {
  if (item != BrushItem("Stamp")) return hide();
  MapCurrentElement({{}, kDefaultRepeat});
  ShowStamp(doc_.ProgramFile(kDefaultStamp));
  show();
  raise();
}

void TPanelStamp::BitStampClick(int index) {
  if (index < 0 || index >= 12) return;
  ShowStamp(doc_.ProgramFile(kStampFiles[index]));
  stampWidth_ = shownSize_.width();
  stampHeight_ = shownSize_.height();
}

// The grid keeps the size of the last stamp button's picture: an imported
// picture is resampled to it.
void TPanelStamp::SpeedButton16Click() {
  const TFileChoice choice = doc_.ChooseFile(PictureRequest("Import Stamp"));
  if (!choice.fileName.isEmpty()) ShowStamp(choice.fileName);
}

void TPanelStamp::TrackBarSizeChange(int position) {
  LabelSizeNumber->setText(QString::number(position));
  MapCurrentElement({doc_.scene().current().center, position});
}

void TPanelStamp::SpeedCloseStampClick() {
  hide();
  sampler_.coords.clear();
  doc_.Redraw();
}

// Before any stamp button the grid takes the shown picture's size, so the
// lookup stays inside it.
const TStampSampler* TPanelStamp::SamplerForApplication(const TGeosphera& e) {
  const int w = stampWidth_ > 0 ? stampWidth_ : shownSize_.width();
  const int h = stampHeight_ > 0 ? stampHeight_ : shownSize_.height();
  if (ReadStampGrid(stampImagePath_.toStdString(), w, h, sampler_.heights)) {
    sampler_.width = w;
    sampler_.height = h;
  }
  CoverElement(sampler_, e, projection_);
  return sampler_.heights.empty() ? nullptr : &sampler_;
}
