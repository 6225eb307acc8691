#include "ServerImage.h"

#include <QSet>
#include <cstdlib>
#include <xcb/xcb.h>

QImage ServerImage(const QRect& area) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (!c || xcb_connection_has_error(c)) {
        if (c) xcb_disconnect(c);
        return {};
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    QImage image;
    const QRect r = area & QRect(0, 0, it.data->width_in_pixels, it.data->height_in_pixels);
    if (it.rem && it.data->root_depth == 24 && !r.isEmpty()) {
        xcb_get_image_cookie_t cookie =
            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, it.data->root, qint16(r.x()), qint16(r.y()),
                          quint16(r.width()), quint16(r.height()), ~0u);
        if (xcb_get_image_reply_t* reply = xcb_get_image_reply(c, cookie, nullptr)) {
            // 24-bit depth comes as 32 bits a pixel, blue in the lowest byte.
            const int bytes = xcb_get_image_data_length(reply);
            if (bytes >= r.width() * r.height() * 4)
                image = QImage(xcb_get_image_data(reply), r.width(), r.height(), r.width() * 4,
                               QImage::Format_RGB32)
                            .copy();
            std::free(reply);
        }
    }
    xcb_disconnect(c);
    return image;
}

int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xFF000000u);
    return int(colours.size());
}
