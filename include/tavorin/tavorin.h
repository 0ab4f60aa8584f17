// The whole public surface of Tavorin: the component and its host runtime.
#pragma once

#include <tavorin/component.h>
#include <tavorin/errors.h>
#include <tavorin/form_state.h>
#include <tavorin/host/control.h>
#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/data_format.h>
#include <tavorin/host/drives.h>
#include <tavorin/host/error.h>
#include <tavorin/host/form.h>
#include <tavorin/host/lists.h>
#include <tavorin/host/object.h>
#include <tavorin/host/picture.h>
#include <tavorin/host/property_bag.h>
#include <tavorin/host/recordset.h>
#include <tavorin/host/site.h>
#include <tavorin/host/variant.h>
#include <tavorin/stream_info.h>
