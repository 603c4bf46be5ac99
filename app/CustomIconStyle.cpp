#include "CustomIconStyle.h"

CustomIconStyle::CustomIconStyle() : QProxyStyle() {}

void CustomIconStyle::setCustomSize(int size) { m_size = size; }

int CustomIconStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const {
  if (metric == QStyle::PM_SmallIconSize)
    return m_size;
  return QProxyStyle::pixelMetric(metric, option, widget);
}
