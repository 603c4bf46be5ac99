#pragma once

#include <QProxyStyle>

// The context menu's style: menu item icons at a custom size.
class CustomIconStyle : public QProxyStyle {
  Q_OBJECT
public:
  CustomIconStyle();
  void setCustomSize(int size);
  int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr) const override;

private:
  int m_size = 30;
};
